// A scene frozen for one render: primitives with their resolved textures, lights in world
// space, the camera and the ray-query structure.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "accelerator.h"
#include "camera.h"
#include "scene.h"

namespace lumetra::renderlib {

struct TextureBinding {
  const Texture* texture = nullptr;  // never a reference; null: the built-in white matte
  Affine world_to_texture = Affine::identity();

  // The built-in white, matte colours and user textures their caller vouched for: a shadow
  // ray stops at them without asking the texture.
  bool letsNoLightThrough() const {
    return !texture || texture->kind == Texture::Kind::kMatte || texture->opaque;
  }
  // Whether the texture may read the record's u and v.
  bool readsSurfaceCoordinates() const {
    return texture && texture->kind != Texture::Kind::kMatte && texture->reads_uv;
  }
};

struct CompiledPrimitive {
  const Primitive* primitive = nullptr;
  TextureBinding texture;
};

struct CompiledLight {
  const Light* light = nullptr;
  Vec3 position;        // point and spot lights; area lights: the grid's origin
  Vec3 edge_u, edge_v;  // area lights: the grid's sides in world space
  Vec3 centre;          // where the light shines from: its position, an area light's middle
  Vec3 spot_axis;       // unit, from the light towards its target
  double cos_radius = 1, cos_falloff = 1;
};

// How a method traces past the first surface.
struct TracingLimits {
  int max_depth;           // secondary rays one behind the other
  bool refraction = true;  // false: transparent surfaces pass rays straight on
};

// A volume that fills the inside of one primitive.
struct VolumeRegion {
  const Primitive* primitive;
  const Volume* volume;
  Affine world_to_texture;
};

struct VolumeSampling {
  double step;
  int min_steps, max_steps;
};

class CompiledScene {
 public:
  CompiledScene(const Scene& scene, const View& view, uint32_t shading_flags, TracingLimits limits);

  const Scene& scene() const { return scene_; }
  const RenderSettings& settings() const { return scene_.settings; }
  const Camera& camera() const { return camera_; }
  uint32_t flags() const { return flags_; }
  const TracingLimits& limits() const { return limits_; }
  const std::vector<CompiledPrimitive>& primitives() const { return primitives_; }
  const std::vector<CompiledLight>& lights() const { return lights_; }
  const Accelerator& accelerator() const { return *accelerator_; }
  const std::vector<const Volume*>& globalVolumes() const { return global_volumes_; }
  const std::vector<VolumeRegion>& volumeRegions() const { return volume_regions_; }
  const VolumeSampling& volumeSampling() const { return volume_sampling_; }
  bool hasVolumes() const { return !global_volumes_.empty() || !volume_regions_.empty(); }
  // Whether every shadow caster stops light: a shadow ray then only asks whether anything is
  // in its way.
  bool shadowsStopAtFirstCaster() const { return shadows_stop_at_first_caster_; }
  // The texture that shades a hit: a textured CSG part's own, else its primitive's.
  TextureBinding textureAt(const WorldHit& hit) const;

 private:
  // A texture handle (or the default texture for 0) on an object with this inverse transform.
  TextureBinding bind(uint32_t texture, const Affine& world_to_local) const;
  CompiledLight compile(const Light& light) const;
  // Whether the textures of a CSG tree's parts (those that wear one) all stop light.
  bool partsLetNoLightThrough(const Primitive& primitive) const;

  const Scene& scene_;
  Camera camera_;
  uint32_t flags_;
  TracingLimits limits_;
  std::vector<CompiledPrimitive> primitives_;
  std::vector<CompiledLight> lights_;
  std::unique_ptr<Accelerator> accelerator_;
  std::vector<const Volume*> global_volumes_;
  std::vector<VolumeRegion> volume_regions_;
  VolumeSampling volume_sampling_;
  bool shadows_stop_at_first_caster_ = false;
};

}  // namespace lumetra::renderlib
