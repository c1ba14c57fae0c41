#include "plugin/animation_scene_interface.h"

#include <cstring>
#include <string>

#include "abi/result_codes.h"
#include "platform/debug_log.h"
#include "plugin/chunk_output_settings.h"
#include "plugin/kinetra_app.h"

namespace lumetra::plugin {
namespace {

std::string NameOf(const abi::ObjectInfo& info) {
  return std::string(info.name, strnlen(info.name, sizeof info.name));
}

// Types the control bar can show as its selected object.
bool Selectable(uint32_t type) {
  return (type >= 1 && type <= 8) || (type >= 10 && type <= 13) || (type >= 16 && type <= 29);
}

int32_t LUMETRA_STDCALL BarWindowProcedure(uint32_t, uint32_t message, uint32_t wparam, int32_t lparam) {
  auto* scene = dynamic_cast<AnimationSceneInterface*>(SceneInterfaceBase::Active());
  ui::AnimControlBar* bar = scene ? scene->Bar() : nullptr;
  return bar ? bar->HandleMessage(message, wparam, lparam) : 0;
}

}  // namespace

AnimationSceneInterface::AnimationSceneInterface(KinetraApp* app) : app_(app) { Reset(); }

// Being unloaded, the plug-in reaches the host no more: the host may have let go of the
// records it handed over, and its bar site forgets the bar when the host closes it.
AnimationSceneInterface::~AnimationSceneInterface() = default;

const abi::BarSiteRecord* AnimationSceneInterface::BarSite() const {
  const abi::BarSiteRecord* site = nullptr;
  if (!animation_.Host().Connected() ||
      animation_.Host().GetHostValue(abi::kHostValueBarSite, &site) != abi::kOk || !site ||
      site->size < sizeof(abi::BarSiteRecord) || site->version / 100 != abi::kBarSiteVersion / 100) {
    return nullptr;
  }
  return site;
}

void AnimationSceneInterface::CreateBar(uint32_t parentWindow) {
  bar_ = std::make_unique<ui::AnimControlBar>(animation_, timeFormat_);
  bar_->Initialise();
  bar_->SetOptionsOpener([this](int page) { app_->OpenOptions(page); });
  placement_.parentWindow = parentWindow;
  if (ui::WindowToolkit* toolkit = app_->Toolkit()) bar_->SetWindow(toolkit->MakeBar(parentWindow, *bar_));
  if (const abi::BarSiteRecord* site = BarSite())
    placement_.window = site->barCreated(parentWindow, BarWindowProcedure);
}

void AnimationSceneInterface::ReportPlacement() const {
  if (ui::BarWindow* window = bar_ ? bar_->Window() : nullptr) {
    window->Place(placement_.left, placement_.top, placement_.width, placement_.height, placement_.shown);
  }
  const abi::BarSiteRecord* site = placement_.window ? BarSite() : nullptr;
  if (site) {
    site->barPlaced(placement_.window, placement_.left, placement_.top, placement_.width, placement_.height,
                    placement_.shown ? 1 : 0);
  }
}

int32_t AnimationSceneInterface::Connect(abi::InterfaceRecord* record) {
  const int32_t result = SceneInterfaceBase::Connect(record);
  if (result == abi::kOk) animation_.SetHost(keyframe::HostScene(SceneRecord()));
  return result;
}

void AnimationSceneInterface::Reset() {
  animation_.SetRange(0, 120);
  animation_.SetCurrentTime(0);
  animation_.SetKeyStepsMode(keyframe::KeySteps::Object);
  animation_.SetSliderStepsMode(0);
  animation_.sceneFlag = false;
  animation_.sceneText.clear();
  animation_.ClearKeyTimes();
  eventState_ = kEventStateNormal;
}

int32_t AnimationSceneInterface::OnSceneEvent(uint32_t objectId, int32_t event) {
  const keyframe::HostScene& host = animation_.Host();
  if (objectId != 0 && eventState_ != kEventStateMerging) {
    keyframe::ObjectRecord record;
    const int32_t result = host.ReadObject(objectId, record, false);
    if (result != abi::kOk) return result;
    if (record.info.type == abi::kObjectTypeReference) objectId = record.info.next;
  }
  switch (event) {
    case abi::kEventObjectRemoved:
      animation_.DeleteTrack(objectId);
      animation_.ClearKeyTimes();
      RefreshBar();
      break;
    case abi::kEventSelectionChanged: {
      const int32_t result = SelectObject(objectId);
      if (animation_.KeyStepsMode() != keyframe::KeySteps::Scene) {
        animation_.ClearKeyTimes();
        animation_.AddKeyTimes(objectId);
        RefreshBar();
      }
      return result;
    }
    case abi::kEventObjectAdded:
    case abi::kEventObjectDrawn:
    case abi::kEventImportBegins:
    case abi::kEventImportEnds:
      break;
    case abi::kEventObjectChanged:
      UpdateObject(objectId);
      RefreshBar();
      break;
    case abi::kEventSceneInPlace:
      SceneInPlace();
      break;
    case abi::kEventHostReady:
      app_->OnHostReady();
      break;
    case abi::kEventSceneClosing:
      if (RenderService* renderer = app_->Renderer()) renderer->AbortAll();
      animation_.DeleteAll();
      break;
    case abi::kEventBarShown:
      if (bar_ && placement_.shown) LayOutViews(true);
      break;
    case abi::kEventObjectEdited:
    case abi::kEventObjectReplaced:
      UpdateObject(objectId);
      break;
    case abi::kEventObjectRenamed:
      if (keyframe::ObjectTrack* track = animation_.FindTrack(objectId)) {
        keyframe::ObjectRecord record;
        if (host.ReadObject(objectId, record, false) == abi::kOk) track->SetName(NameOf(record.info));
      }
      break;
    case abi::kEventMergeBegins:
      eventState_ = kEventStateMerging;
      break;
    case abi::kEventMergeEnds:
      eventState_ = kEventStateNormal;
      break;
    case abi::kEventMergedObject:
      return FindMergedObject(objectId);
    default:
      platform::DebugLog::Printf("Unknown scene event: %d\n", event);
      break;
  }
  return abi::kOk;
}

int32_t AnimationSceneInterface::OnSceneNotify(uint32_t objectId, int32_t event, void* data, void* result) {
  if (objectId != 0) {
    keyframe::ObjectRecord record;
    animation_.Host().ReadObject(objectId, record, false);
  }
  switch (event) {
    case abi::kEventSceneInPlace:
      SceneInPlace();
      break;
    case abi::kEventImportBegins:
      eventState_ = kEventStateAfterNotice;
      break;
    case abi::kEventImportEnds:
      AttachAndRebuild();
      eventState_ = kEventStateNormal;
      break;
    case abi::kEventMergeBegins:
      eventState_ = kEventStateMerging;
      break;
    case abi::kEventMergeEnds:
      LayOutViews(true);
      AttachAndRebuild();
      eventState_ = kEventStateNormal;
      break;
    case abi::kEventMergedObject:
      if (data && result)
        animation_.RenamePendingTrack(static_cast<const char*>(data), static_cast<const char*>(result));
      break;
    default:
      break;
  }
  return abi::kOk;
}

int32_t AnimationSceneInterface::GetSceneDataSize(uint32_t) {
  return static_cast<int32_t>(keyframe::SceneChunkSize(animation_, ToStored(app_->AnimationSettings())));
}

int32_t AnimationSceneInterface::SaveSceneData(abi::StreamWrite write, uint32_t stream, uint32_t) {
  keyframe::ChunkWriter out(write, stream);
  try {
    keyframe::SaveSceneChunk(out, animation_, ToStored(app_->AnimationSettings()));
  } catch (const keyframe::ChunkFormatError& error) {
    platform::DebugLog::Printf("Keyframe data not saved: %s\n", error.what());
  }
  return abi::kOk;
}

// The tracks wait as pending tracks for the scene-in-place event; the bar shows
// times as the loaded settings say.
int32_t AnimationSceneInterface::LoadSceneData(abi::StreamRead read, uint32_t stream, uint32_t) {
  keyframe::ChunkReader in(read, stream);
  AppOutputSettings settings(*app_);
  keyframe::LoadSceneChunk(in, animation_, settings);
  timeFormat_ = app_->AnimationSettings().TimeFormat();
  return abi::kOk;
}

int32_t AnimationSceneInterface::SelectObject(uint32_t objectId) {
  if (!bar_) return abi::kOk;
  keyframe::ObjectRecord record;
  const int32_t result = animation_.Host().ReadObject(objectId, record, false);
  if (result != abi::kOk) {
    platform::DebugLog::Printf("Invalid selected object, error = %d\n", result);
    return result;
  }
  if (Selectable(record.info.type)) {
    bar_->SetSelectedObject(objectId, NameOf(record.info));
  } else {
    platform::DebugLog::Write("Selected unknown object type\n");
  }
  return abi::kOk;
}

// A changed object is keyed at the current time in animation mode, else at 0,
// with its whole tree.
void AnimationSceneInterface::UpdateObject(uint32_t objectId) {
  if (!bar_) return;
  keyframe::ObjectRecord record;
  if (animation_.Host().ReadObject(objectId, record, false) != abi::kOk) return;
  bar_->SetSelectedObject(objectId, NameOf(record.info));
  const int32_t time = bar_->AnimationMode() ? animation_.CurrentTime() : 0;
  animation_.SetKeys(objectId, time, bar_->InterpolationChoice(), true);
  bar_->Slider().SetPos(time);
  animation_.AddKeyTimes(objectId);
}

void AnimationSceneInterface::SceneInPlace() {
  LayOutViews(true);
  animation_.DeleteAll();
  AttachAndRebuild();
}

void AnimationSceneInterface::AttachAndRebuild() {
  animation_.AttachPendingTracks();
  animation_.RebuildKeyTimes();
}

// The argument names the merged object: in the 32-bit layout it is the name's
// address; a 64-bit host passes the identifier of the object that arrived, whose
// name is read from the host.
int32_t AnimationSceneInterface::FindMergedObject(uint32_t argument) {
  const keyframe::HostScene& host = animation_.Host();
  std::string name;
  if constexpr (sizeof(void*) == sizeof(uint32_t)) {
    if (argument) name = reinterpret_cast<const char*>(static_cast<uintptr_t>(argument));
  } else {
    keyframe::ObjectRecord record;
    if (host.ReadObject(argument, record, false) == abi::kOk) name = NameOf(record.info);
  }
  uint32_t found = 0;
  const int32_t result = host.FindObjectByName(name.c_str(), found);
  if (result != abi::kOk) {
    platform::DebugLog::Printf("Failed to find ID for merged obj: '%s'\n", name.c_str());
    return result;
  }
  abi::ObjectInfo info;
  abi::PrepareObjectInfo(info);
  return host.GetObjectInfo(found, info);
}

void AnimationSceneInterface::RefreshBar() {
  if (bar_) bar_->Refresh();
}

void AnimationSceneInterface::LayOutViews(bool createAndShow) {
  const keyframe::HostScene& host = animation_.Host();
  uint32_t window = 0;
  if (host.GetHostValue(abi::kHostValueMainWindow, &window) != abi::kOk) return;
  if (!bar_) {
    if (!createAndShow) return;
    CreateBar(window);
  }
  const int32_t barHeight = bar_->Window() ? bar_->Window()->Height() : ui::AnimControlBar::kHeight;
  abi::ViewRecord views[abi::kViewCount];
  for (int32_t index = 0; index < abi::kViewCount; ++index) {
    if (host.GetViewInfo(index, views[index]) != abi::kOk) return;
  }
  const auto width = static_cast<int32_t>(views[0].areaWidth);
  const int32_t height = std::max(0, static_cast<int32_t>(views[0].areaHeight) - barHeight);
  ArrangeViews(views, width, height);
  placement_ = {window, placement_.window, 0, height, width, barHeight, createAndShow};
  ReportPlacement();
}

// With a maximised view only that one takes the whole area; otherwise two by
// two: 0 top left, 1 bottom left, 2 top right, 3 bottom right.
void AnimationSceneInterface::ArrangeViews(abi::ViewRecord (&views)[abi::kViewCount], int32_t width,
                                           int32_t height) {
  int maximised = -1;
  for (int index = 0; index < abi::kViewCount; ++index) {
    views[index].areaHeight = static_cast<uint32_t>(height);
    if (views[index].flags & abi::kViewMaximised) maximised = index;
  }
  const keyframe::HostScene& host = animation_.Host();
  if (maximised >= 0) {
    abi::ViewRecord& view = views[maximised];
    view.left = 0;
    view.top = 0;
    view.right = width;
    view.bottom = height;
    host.SetViewInfo(maximised, view);
    return;
  }
  const int32_t halfWidth = width / 2, halfHeight = height / 2;
  for (int index = 0; index < abi::kViewCount; ++index) {
    abi::ViewRecord& view = views[index];
    view.left = index < 2 ? 0 : halfWidth;
    view.top = index % 2 == 0 ? 0 : halfHeight;
    view.right = index < 2 ? halfWidth : width;
    view.bottom = index % 2 == 0 ? halfHeight : height;
    host.SetViewInfo(index, view);
  }
}

}  // namespace lumetra::plugin
