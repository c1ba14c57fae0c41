#include "translate/user_textures.h"

#include <memory>
#include <vector>

#include "texture/callbacks.h"
#include "texture/image_list.h"
#include "translate/host_object.h"
#include "translate/library_result.h"
#include "translate/name_filing.h"
#include "translate/node_record.h"
#include "translate/texture_name_sink.h"
#include "translate/texture_translator.h"

namespace lumetra::translate {
namespace {

using MediaList = std::vector<std::unique_ptr<texture::Media>>;

void SetVolumeFlags(L2Scene scene, L2Volume volume, const texture::Media& media) {
  const bool emits = media.emission[0] != 0.0f;
  const bool scatters = media.scattering[0] != 0.0f;
  const bool absorbs = media.absorption[0] != 0.0f;
  const bool scatteringKeepsLight = media.extinctionSet && media.extinction != 0.0f;
  LogRefusal(SetVolumeAmbientFlag(scene, volume, emits ? 1 : 0), "SetVolumeAmbientFlag");
  LogRefusal(SetVolumeOpacityFlag(scene, volume, 0), "SetVolumeOpacityFlag");
  LogRefusal(SetVolumeDiffuseFlag(scene, volume, scatters ? 1 : 0), "SetVolumeDiffuseFlag");
  if (scatters && !scatteringKeepsLight)
    LogRefusal(SetVolumeOpacityFlag(scene, volume, 1), "SetVolumeOpacityFlag");
  if (absorbs) LogRefusal(SetVolumeOpacityFlag(scene, volume, 1), "SetVolumeOpacityFlag");
}

// The library owns each media from a successful CreateVolume on; a refusal ends the
// volumes of this texture and the remaining media are freed here.
void MakeVolumes(render::RenderJob& job, L2Texture texture, MediaList& mediaList) {
  for (std::unique_ptr<texture::Media>& media : mediaList) {
    const L2Volume volume = CreateVolume(job.scene, LumetraEvaluateMedia, LumetraFreeMedia, media.get());
    if (volume == 0) return;
    const texture::Media& owned = *media.release();
    LogRefusal(SetVolumeStepResolution(job.scene, volume, job.volumeStepSize), "SetVolumeStepResolution");
    SetVolumeFlags(job.scene, volume, owned);
    if (!owned.name.empty() && owned.name == job.sceneSettingsName) {
      LogRefusal(AddGlobalVolume(job.scene, volume), "AddGlobalVolume");
    } else {
      LogRefusal(AddTextureVolume(job.scene, texture, volume), "AddTextureVolume");
    }
  }
}

void TranslateMaterial(render::RenderJob& job, TextureTranslator& translator, const NodeRecord& material) {
  MediaList mediaList;
  std::unique_ptr<texture::Texture> texture = translator.TranslateMaterial(material, mediaList);
  const std::string name = FieldText(material.info.name);
  if (!texture || name.empty()) return;
  const bool opaque = !texture->LetsLightThrough();
  const bool readsUV = texture->ReadsSurfaceCoordinates();
  const L2Texture handle =
      CreateUserTexture(job.scene, LumetraShadeTexture, LumetraFreeTexture, texture.get());
  if (handle == 0) return;
  texture.release();  // the library's now
  // Shadow rays then stop at the material without shading it.
  if (opaque) LogRefusal(SetTextureOpaque(job.scene, handle, 1), "SetTextureOpaque");
  // Nor does it work out surface coordinates for a material that never reads them.
  if (!readsUV) LogRefusal(SetTextureReadsUV(job.scene, handle, 0), "SetTextureReadsUV");
  FileName(job, name, handle);
  MakeVolumes(job, handle, mediaList);
}

}  // namespace

void TranslateTextures(render::RenderJob& job, const abi::SceneRecord& host) {
  TextureNameSink sink(job);
  job.imageMaps = std::make_shared<texture::ImageList>();
  TextureTranslator translator(host, sink, *job.imageMaps);
  const HostNodes nodes(host);
  for (const std::uint32_t id : ListedObjects(host, abi::kMaterialList)) {
    const std::unique_ptr<NodeRecord> material = nodes.Read(id);
    if (material) TranslateMaterial(job, translator, *material);
  }
}

}  // namespace lumetra::translate
