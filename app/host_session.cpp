#include "app/host_session.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "abi/scene_events.h"
#include "host/host_functions.h"
#include "host/scene_file.h"

namespace lumetra::app {
namespace {

constexpr uint32_t kChunkStream = 1;

// The one byte stream open while the plug-in reads or writes its scene data.
struct ChunkStream {
  const std::vector<uint8_t>* source = nullptr;
  size_t position = 0;
  std::vector<uint8_t>* sink = nullptr;
  bool askedPastEnd = false;
};
ChunkStream g_stream;

// Reading past the end yields zero bytes; the answer is the count actually read.
int32_t LUMETRA_STDCALL ReadChunk(uint32_t stream, void* bytes, uint32_t count) {
  if (stream != kChunkStream || !g_stream.source || !bytes) return 0;
  const size_t left = g_stream.source->size() - g_stream.position;
  const size_t taken = std::min<size_t>(count, left);
  if (taken < count) g_stream.askedPastEnd = true;
  std::memcpy(bytes, g_stream.source->data() + g_stream.position, taken);
  std::memset(static_cast<uint8_t*>(bytes) + taken, 0, count - taken);
  g_stream.position += taken;
  return static_cast<int32_t>(taken);
}

int32_t LUMETRA_STDCALL WriteChunk(uint32_t stream, const void* bytes, uint32_t count) {
  if (stream != kChunkStream || !g_stream.sink || (!bytes && count)) return 0;
  const auto* begin = static_cast<const uint8_t*>(bytes);
  g_stream.sink->insert(g_stream.sink->end(), begin, begin + count);
  return static_cast<int32_t>(count);
}

constexpr const char* kRibExporterFile = "liblumetra-rib-exporter.so";

std::filesystem::path RibExporterPath(const std::string& pluginPath) {
  return std::filesystem::path(pluginPath).parent_path() / kRibExporterFile;
}

// A broken exporter costs only the RIB method, not the session: it is reported and left out.
std::unique_ptr<host::PluginModule> LoadRibExporter(const std::string& pluginPath) {
  const std::filesystem::path path = RibExporterPath(pluginPath);
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return nullptr;
  try {
    return host::PluginModule::Load(path.string());
  } catch (const host::PluginError& failure) {
    std::cerr << "lumetra: the RIB exporter is left out: " << failure.what() << "\n";
    return nullptr;
  }
}

}  // namespace

std::string RibExporterProblem(const std::string& pluginPath) {
  std::error_code error;
  const std::filesystem::path path = RibExporterPath(pluginPath);
  if (std::filesystem::is_regular_file(path, error)) return {};
  return "the RIB exporter " + path.string() + " is missing; reinstall the package lumetra";
}

std::unique_ptr<HostSession> HostSession::Open(const std::string& scenePath, const std::string& pluginPath,
                                               ContextSetup setup) {
  return Open(host::LoadScene(scenePath), pluginPath, std::move(setup));
}

std::unique_ptr<HostSession> HostSession::Open(host::Scene scene, const std::string& pluginPath,
                                               ContextSetup setup) {
  std::unique_ptr<HostSession> session(new HostSession());
  session->setup_ = std::move(setup);
  session->povPrograms_ = PovProgramsBeside(pluginPath);
  session->Install(std::move(scene));
  session->ribExporter_ = LoadRibExporter(pluginPath);
  session->plugin_ = host::PluginModule::Load(pluginPath, host::FillSceneRecord);
  session->SendEvent(0, abi::kEventHostReady);
  session->HandOverPluginData(*session->scene_);
  session->SendEvent(0, abi::kEventSceneInPlace);
  return session;
}

HostSession::~HostSession() {
  plugin_.reset();
  ribExporter_.reset();
}

// One context at a time: the old one goes before the new scene's is made.
void HostSession::Install(host::Scene scene) {
  context_.reset();
  scene_ = std::make_unique<host::Scene>(std::move(scene));
  context_ = std::make_unique<host::HostContext>(*scene_);
  context_->startPovRender = [this](std::string& error) {
    return StartPovRender(*scene_, povPrograms_, error);
  };
  if (setup_) setup_(*context_);
}

void HostSession::Replace(host::Scene scene) {
  SendEvent(0, abi::kEventSceneClosing);
  Install(std::move(scene));
  HandOverPluginData(*scene_);
  SendEvent(0, abi::kEventSceneInPlace);
}

std::vector<host::MergedObject> HostSession::Merge(host::Scene other) {
  SendEvent(0, abi::kEventMergeBegins);
  Notify(0, abi::kEventMergeBegins);
  HandOverPluginData(other);
  const std::vector<host::MergedObject> merged = host::MergeScene(*scene_, std::move(other));
  for (const host::MergedObject& object : merged) {
    SendEvent(object.id, abi::kEventMergedObject);
    Notify(object.id, abi::kEventMergedObject, object.fileName.c_str(), object.name.c_str());
  }
  SendEvent(0, abi::kEventMergeEnds);
  Notify(0, abi::kEventMergeEnds);
  return merged;
}

int32_t HostSession::SendEvent(uint32_t object, int32_t event) {
  abi::SceneRecord* record = plugin_->Scene();
  if (!record || !record->onSceneEvent) return 0;
  const int32_t result = record->onSceneEvent(object, event);
  events_.emplace_back(event, result);
  return result;
}

// The notice's data and result are the names of a merged object, read by the plug-in only.
void HostSession::Notify(uint32_t object, int32_t event, const char* data, const char* result) {
  abi::SceneRecord* record = plugin_->Scene();
  if (!record || !record->onSceneNotify) return;
  events_.emplace_back(
      event, record->onSceneNotify(object, event, const_cast<char*>(data), const_cast<char*>(result)));
}

void HostSession::HandOverPluginData(const host::Scene& from) {
  const auto& chunks = from.pluginChunks;
  const auto chunk = std::find_if(chunks.begin(), chunks.end(), [&](const host::PluginChunk& c) {
    return c.plugin == plugin_->Info().name;
  });
  if (chunk != chunks.end()) HandOver(chunk->bytes);
}

bool HostSession::HandOver(const std::vector<uint8_t>& bytes) {
  abi::SceneRecord* record = plugin_->Scene();
  if (!record || !record->loadSceneData) return false;
  g_stream = {&bytes, 0, nullptr};
  record->loadSceneData(ReadChunk, kChunkStream, 0);
  const bool readExactly = g_stream.position == bytes.size() && !g_stream.askedPastEnd;
  g_stream = {};
  return readExactly;
}

bool HostSession::LoadPluginData(const std::vector<uint8_t>& bytes) {
  const bool readExactly = HandOver(bytes);
  SendEvent(0, abi::kEventSceneInPlace);
  return readExactly;
}

std::vector<uint8_t> HostSession::PluginData() {
  abi::SceneRecord* record = plugin_->Scene();
  std::vector<uint8_t> bytes;
  if (!record || !record->getSceneDataSize || !record->saveSceneData) return bytes;
  const int32_t size = record->getSceneDataSize(0);
  if (size <= 0) return bytes;
  g_stream = {nullptr, 0, &bytes};
  record->saveSceneData(WriteChunk, kChunkStream, 0);
  g_stream = {};
  if (bytes.size() != static_cast<size_t>(size)) {
    throw host::PluginError("the plug-in wrote " + std::to_string(bytes.size()) +
                            " bytes of scene data after announcing " + std::to_string(size));
  }
  return bytes;
}

// The plug-in's data is taken before the scene's copy is replaced, so a plug-in
// that fails to write leaves the scene file as it was.
void HostSession::Save(const std::string& path) {
  abi::SceneRecord* record = plugin_->Scene();
  auto& chunks = scene_->pluginChunks;
  const std::string& name = plugin_->Info().name;
  if (record && record->getSceneDataSize && record->saveSceneData) {
    std::vector<uint8_t> bytes = PluginData();
    std::erase_if(chunks, [&](const host::PluginChunk& c) { return c.plugin == name; });
    if (!bytes.empty()) chunks.push_back({name, std::move(bytes)});
  }
  host::SaveScene(*scene_, path);
  scene_->path = path;
}

}  // namespace lumetra::app
