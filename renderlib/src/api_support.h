// What every C entry shares: handle checks, the rendering lock-out and turning exceptions
// into result codes (no exception crosses the C boundary).
#pragma once

#include <cmath>
#include <exception>
#include <new>
#include <utility>
#include <vector>

#include "scene_registry.h"

namespace lumetra::renderlib {

// Runs body(scene) -> int32_t on a scene that is not rendering.
template <class Body>
int32_t withScene(L2Scene handle, Body&& body) noexcept {
  try {
    Scene* scene = findScene(handle);
    if (!scene) return L2_ERROR_HANDLE;
    if (scene->rendering) return L2_ERROR_STATE;
    return std::forward<Body>(body)(*scene);
  } catch (const std::bad_alloc&) {
    return L2_ERROR_MEMORY;
  } catch (...) {
    return L2_ERROR_MEMORY;  // the ray-query device refused resources
  }
}

// The calling thread's reason for the last creating entry's 0 (GetLastErrorMessage).
void clearLastError() noexcept;
bool hasLastError() noexcept;
// Keeps the reason why a creating entry made nothing, and answers 0 for it.
uint32_t refuse(const char* format, ...) noexcept __attribute__((format(printf, 1, 2)));
inline uint32_t refuseHandle(const char* kind, uint32_t handle) noexcept {
  return refuse("unknown %s handle %u", kind, unsigned(handle));
}

// Runs make() -> handle for a creating entry: 0 whenever nothing was made, with the reason
// kept for GetLastErrorMessage. make may give a reason of its own through refuse.
template <class Make>
uint32_t creating(Make&& make) noexcept {
  clearLastError();
  try {
    const uint32_t handle = std::forward<Make>(make)();
    if (handle || hasLastError()) return handle;
    return refuse("an argument was refused: a null array, or a count or value out of range");
  } catch (const std::bad_alloc&) {
    return refuse("out of memory");
  } catch (const std::exception& error) {
    return refuse("%s", error.what());
  } catch (...) {
    return refuse("an unknown failure");
  }
}

// Runs body(scene) -> handle on a scene that is not rendering; 0 whenever nothing was made.
template <class Body>
uint32_t createIn(L2Scene handle, Body&& body) noexcept {
  return creating([&]() -> uint32_t {
    Scene* scene = findScene(handle);
    if (!scene) return refuseHandle("scene", handle);
    if (scene->rendering) return refuse("scene %u is rendering", unsigned(handle));
    return std::forward<Body>(body)(*scene);
  });
}

// Runs body(scene, item) -> int32_t on the item (Scene::primitive, light, ...) of handle.
template <auto Lookup, class Body>
int32_t withItem(L2Scene scene_handle, uint32_t item_handle, Body&& body) noexcept {
  return withScene(scene_handle, [&](Scene& scene) -> int32_t {
    auto* item = (scene.*Lookup)(item_handle);
    if (!item) return L2_ERROR_HANDLE;
    return std::forward<Body>(body)(scene, *item);
  });
}

// Files a primitive made of a shape.
inline uint32_t addShape(Scene& scene, std::shared_ptr<Shape> shape) {
  auto primitive = std::make_unique<Primitive>();
  primitive->shape = std::move(shape);
  return scene.add(std::move(primitive));
}

// count points of three values each; empty for a null array or a count below 1.
template <class Value>
std::vector<Vec3> readPoints(const Value* values, int32_t count) {
  std::vector<Vec3> out;
  if (!values || count <= 0) return out;
  out.reserve(count);
  for (int32_t i = 0; i < count; ++i) {
    out.push_back({double(values[3 * i]), double(values[3 * i + 1]), double(values[3 * i + 2])});
  }
  return out;
}

// Sets a 0/1 flag of the item (Scene::light, volume, ...) of handle.
template <auto Lookup, class Item>
int32_t setItemFlag(L2Scene scene, uint32_t handle, int32_t on, bool Item::*flag) noexcept {
  return withItem<Lookup>(scene, handle, [&](Scene&, Item& item) -> int32_t {
    if (on != 0 && on != 1) return L2_ERROR_ARGUMENT;
    item.*flag = on == 1;
    return L2_OK;
  });
}

inline bool allFinite(double v) { return std::isfinite(v); }
template <class... More>
bool allFinite(double v, More... more) {
  return std::isfinite(v) && allFinite(more...);
}

}  // namespace lumetra::renderlib
