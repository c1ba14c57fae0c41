// Posing a scene of 10 000 animated objects with 10 keys each on the substitute host.
// Target: GoToTime under 20 ms on one core.
#include <benchmark/benchmark.h>

#include <string>

#include "host/host_context.h"
#include "host/host_functions.h"
#include "host/scene.h"
#include "keyframe/scene_animation.h"

namespace lumetra {
namespace {

constexpr int kObjects = 10000;
constexpr int kKeys = 10;
constexpr int32_t kKeyGap = 480;

// The scene, its host functions and the keys, built once.
struct AnimatedScene {
  host::Scene scene;
  host::HostContext context{scene};
  abi::SceneRecord record{};
  keyframe::SceneAnimation animation;

  AnimatedScene() {
    host::FillSceneRecord(record);
    animation.SetHost(keyframe::HostScene(&record));
    for (int i = 0; i < kObjects; ++i) {
      host::SceneObject& object = scene.Add(i % 2 ? abi::kTypeSphere : abi::kTypeCone, 0);
      object.name = "Object " + std::to_string(i);
    }
    for (int key = 0; key < kKeys; ++key) {
      for (uint32_t id = 1; id <= kObjects; ++id) {
        host::SceneObject& object = *scene.Find(id);
        object.params.translate[0] = key * 1.5 + id;
        object.params.rotate[1] = key * 20.0;
        object.data.shape.cone.upperRadius = key;
        animation.SetKeys(id, key * kKeyGap, static_cast<int32_t>(keyframe::Interpolation::Cubic), false);
      }
    }
  }
};

void BM_GoToTime(benchmark::State& state) {
  static AnimatedScene animated;
  int step = 0;
  for (auto _ : state) {
    // A time between two keys that differs from the last one, so every object moves.
    const int32_t time = kKeyGap / 2 + (step++ % (kKeys - 1)) * kKeyGap;
    animated.animation.GoToTime(time, true);
  }
  state.SetItemsProcessed(state.iterations() * kObjects);
}
BENCHMARK(BM_GoToTime)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumetra
