// A scene: everything one render job builds, filed under 32-bit handles.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "light.h"
#include "lumetra2.h"
#include "primitive.h"
#include "texture.h"
#include "view.h"
#include "volume.h"

namespace lumetra::renderlib {

struct RenderSettings {
  Vec3 background{0, 0, 0};
  Vec3 ambient_light{1, 1, 1};
  double ray_epsilon = 1e-4;
  int max_depth = 5;
  double min_weight = 1.0 / 255;
  int alias_depth = 3;
  double alias_threshold = 0.3;
  uint32_t default_texture = 0;
};

class Scene {
 public:
  explicit Scene(L2Scene handle) : handle_(handle) {}
  ~Scene();
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  L2Scene handle() const { return handle_; }

  // Each returns null for an unknown handle or one of another kind.
  Primitive* primitive(uint32_t handle) const;
  Light* light(uint32_t handle) const;
  Texture* texture(uint32_t handle) const;
  View* view(uint32_t handle) const;
  Volume* volume(uint32_t handle) const;
  // The transform of a primitive, light or texture.
  Placement* placement(uint32_t handle) const;

  uint32_t add(std::unique_ptr<Primitive> primitive);
  uint32_t add(std::unique_ptr<Light> light);
  uint32_t add(std::unique_ptr<Texture> texture);
  uint32_t add(std::unique_ptr<View> view);
  uint32_t add(std::unique_ptr<Volume> volume);

  // Primitives and lights in the order they were made.
  const std::vector<std::pair<uint32_t, Primitive*>>& primitives() const { return primitive_order_; }
  const std::vector<Light*>& lights() const { return light_order_; }

  RenderSettings settings;
  std::unordered_map<std::string, L2NameValue> names;
  std::vector<uint32_t> global_volumes;
  std::multimap<uint32_t, uint32_t> texture_volumes;  // texture -> volume
  std::atomic<bool> rendering{false};

 private:
  L2Scene handle_;
  std::unordered_map<uint32_t, std::unique_ptr<Primitive>> primitive_table_;
  std::unordered_map<uint32_t, std::unique_ptr<Light>> light_table_;
  std::unordered_map<uint32_t, std::unique_ptr<Texture>> texture_table_;
  std::unordered_map<uint32_t, std::unique_ptr<View>> view_table_;
  std::unordered_map<uint32_t, std::unique_ptr<Volume>> volume_table_;
  std::vector<std::pair<uint32_t, Primitive*>> primitive_order_;
  std::vector<Light*> light_order_;
  // Textures and volumes in the order they were made, for their release callbacks.
  std::vector<uint32_t> owner_order_;
};

// Process-wide handle counter shared by all scenes, so a handle never names objects of two
// scenes.
uint32_t newHandle();

}  // namespace lumetra::renderlib
