#include "plugin/scene_interface_base.h"

#include "abi/result_codes.h"

namespace lumetra::plugin {
namespace {

SceneInterfaceBase* g_active = nullptr;

int32_t LUMETRA_STDCALL OnSceneEventEntry(uint32_t objectId, int32_t event) {
  return g_active->OnSceneEvent(objectId, event);
}
int32_t LUMETRA_STDCALL Operation8Entry(uint32_t a, uint32_t b, uint32_t c) {
  return g_active->Operation8(a, b, c);
}
int32_t LUMETRA_STDCALL GetSceneDataSizeEntry(uint32_t a) { return g_active->GetSceneDataSize(a); }
int32_t LUMETRA_STDCALL SaveSceneDataEntry(abi::StreamWrite write, uint32_t stream, uint32_t c) {
  return g_active->SaveSceneData(write, stream, c);
}
int32_t LUMETRA_STDCALL LoadSceneDataEntry(abi::StreamRead read, uint32_t stream, uint32_t c) {
  return g_active->LoadSceneData(read, stream, c);
}
int32_t LUMETRA_STDCALL Operation12Entry(uint32_t a, uint32_t b) { return g_active->Operation12(a, b); }
int32_t LUMETRA_STDCALL Operation13Entry(uint32_t a, uint32_t b, uint32_t c) {
  return g_active->Operation13(a, b, c);
}
void LUMETRA_STDCALL Operation14Entry(uint32_t a, uint32_t b) { g_active->Operation14(a, b); }
void LUMETRA_STDCALL Operation15Entry(uint32_t a) { g_active->Operation15(a); }
int32_t LUMETRA_STDCALL Operation16Entry(uint32_t a, uint32_t b) { return g_active->Operation16(a, b); }
int32_t LUMETRA_STDCALL SelectorEntry(int32_t selector, uint32_t value) {
  switch (selector) {
    case 1:
      return g_active->Operation17(value);
    case 2:
      g_active->Operation18(value);
      return 0;
    default:
      return 0;
  }
}
int32_t LUMETRA_STDCALL OnSceneNotifyEntry(uint32_t objectId, int32_t event, void* data, void* result) {
  return g_active->OnSceneNotify(objectId, event, data, result);
}

}  // namespace

const abi::InterfaceId SceneInterfaceBase::kId{0x3C90B573u, 0xFD7095A6u};

SceneInterfaceBase::SceneInterfaceBase()
    : PluginInterface(abi::kSceneInterfaceKind, abi::kSceneInterfaceVersion, &kId) {
  g_active = this;
}

SceneInterfaceBase::~SceneInterfaceBase() {
  if (g_active == this) g_active = nullptr;
}

SceneInterfaceBase* SceneInterfaceBase::Active() { return g_active; }

int32_t SceneInterfaceBase::Connect(abi::InterfaceRecord* record) {
  const int32_t result = Attach(record, abi::kSceneRecordMinimumSize);
  if (result != abi::kOk) return result;
  abi::SceneRecord* scene = SceneRecord();
  // The slot at 652 stays the host's.
  scene->onSceneEvent = OnSceneEventEntry;
  scene->operation8 = Operation8Entry;
  scene->getSceneDataSize = GetSceneDataSizeEntry;
  scene->saveSceneData = SaveSceneDataEntry;
  scene->loadSceneData = LoadSceneDataEntry;
  scene->operation12 = Operation12Entry;
  scene->operation13 = Operation13Entry;
  scene->operation14 = Operation14Entry;
  scene->operation15 = Operation15Entry;
  scene->operation16 = Operation16Entry;
  scene->selectorCall = SelectorEntry;
  scene->onSceneNotify = OnSceneNotifyEntry;
  return abi::kOk;
}

}  // namespace lumetra::plugin
