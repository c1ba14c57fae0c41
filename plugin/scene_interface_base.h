#pragma once

#include <cstdint>

#include "abi/scene_record.h"
#include "plugin/plugin_interface.h"

namespace lumetra::plugin {

// The scene interface: the host reports scene events through it and lets it save and
// load its chunk of the scene file. Every operation has a neutral default; the
// entry points written into the host's record forward to the one live object.
class SceneInterfaceBase : public PluginInterface {
 public:
  static const abi::InterfaceId kId;

  SceneInterfaceBase();
  ~SceneInterfaceBase() override;

  int32_t Connect(abi::InterfaceRecord* record) override;
  abi::SceneRecord* SceneRecord() const { return reinterpret_cast<abi::SceneRecord*>(GetRecord()); }

  virtual void Reset() {}
  virtual int32_t OnSceneEvent(uint32_t /*objectId*/, int32_t /*event*/) { return 0; }
  virtual int32_t OnSceneNotify(uint32_t /*objectId*/, int32_t /*event*/, void* /*data*/, void* /*result*/) {
    return 0;
  }
  virtual int32_t Operation8(uint32_t, uint32_t, uint32_t) { return 0; }
  virtual int32_t GetSceneDataSize(uint32_t) { return 0; }
  virtual int32_t SaveSceneData(abi::StreamWrite, uint32_t /*stream*/, uint32_t) { return 0; }
  virtual int32_t LoadSceneData(abi::StreamRead, uint32_t /*stream*/, uint32_t) { return 0; }
  virtual int32_t Operation12(uint32_t, uint32_t) { return 0; }
  virtual int32_t Operation13(uint32_t, uint32_t, uint32_t) { return 0; }
  virtual void Operation14(uint32_t, uint32_t) {}
  virtual void Operation15(uint32_t) {}
  virtual int32_t Operation16(uint32_t, uint32_t) { return 1; }
  virtual int32_t Operation17(uint32_t) { return 0; }
  virtual void Operation18(uint32_t) {}

  // The live scene interface that the entry points reach, or null.
  static SceneInterfaceBase* Active();
};

}  // namespace lumetra::plugin
