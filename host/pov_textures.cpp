// Materials (texture node trees of list 2) as POV-Ray textures and interiors with media.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <sstream>

#include "abi/scene_record.h"
#include "host/pov_text.h"
#include "host/pov_texture_writer.h"

namespace lumetra::host::pov {

std::ostream& operator<<(std::ostream& out, const Vec& v) {
  return out << "<" << v.x << ", " << v.y << ", " << v.z << ">";
}

void WriteColour(std::ostream& out, double r, double g, double b, double filter, double transmit) {
  if (filter != 0 || transmit != 0) {
    out << "rgbft <" << r << ", " << g << ", " << b << ", " << filter << ", " << transmit << ">";
  } else {
    out << "rgb " << Vec{r, g, b};
  }
}

Vec SoundScale(const double (&scale)[3]) {
  const double largest = std::max({std::fabs(scale[0]), std::fabs(scale[1]), std::fabs(scale[2])});
  const double flat = 1e-6 * (largest > 0 ? largest : 1.0);
  return {scale[0] == 0 ? flat : scale[0], scale[1] == 0 ? flat : scale[1], scale[2] == 0 ? flat : scale[2]};
}

void WriteTransform(std::ostream& out, const double (&scale)[3], const double (&rotate)[3],
                    const double (&translate)[3]) {
  const Vec sound = SoundScale(scale);
  if (sound.x != 1 || sound.y != 1 || sound.z != 1) out << " scale " << sound;
  if (rotate[0] != 0 || rotate[1] != 0 || rotate[2] != 0)
    out << " rotate " << Vec{0.0 - rotate[0], 0.0 - rotate[1], 0.0 - rotate[2]};
  if (translate[0] != 0 || translate[1] != 0 || translate[2] != 0) out << " translate " << VecOf(translate);
}

std::string MaterialIdentifier(size_t index) { return "Lumetra_Material_" + std::to_string(index); }

std::string CommentText(const std::string& text) {
  std::string line = text;
  std::replace_if(
      line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
  return line;
}

namespace {

std::string InteriorIdentifier(size_t index) { return "Lumetra_Interior_" + std::to_string(index); }

constexpr auto IsTextureKind = abi::IsTextureNodeKind;
bool IsInterior(uint32_t kind) { return kind == abi::kNodeInterior; }

// POV-Ray layers nothing over a patterned texture: a map or block can only be the bottom.
bool IsPatternedTexture(uint32_t kind) {
  return kind == abi::kNodeTextureMap || kind == abi::kNodeMaterialMap || kind == abi::kNodeBlockTexture;
}

}  // namespace

void TextureWriter::Material(const SceneObject& material) {
  const SceneObject* texture = LastChild(material, IsTextureKind);
  Children(material, [&](const SceneObject& child) {
    const uint32_t kind = child.node.kind;
    if (!IsTextureKind(kind) && kind != abi::kNodeInterior && kind != abi::kNodeComment) Unwritten(child);
  });
  if (texture) {
    Texture(*texture);
  } else {
    *out_ << "texture { pigment { rgb 1 } }";
  }
}

void TextureWriter::Texture(const SceneObject& node, const std::string& outer) {
  if (node.node.kind != abi::kNodeLayeredTexture) {
    *out_ << "texture {";
    TextureBody(node);
    *out_ << outer << " }";
    return;
  }
  const std::string around = Captured([&] { Modifiers(node, std::nullopt, IsTextureKind); }) + outer;
  std::vector<const SceneObject*> layers;
  Children(node, [&](const SceneObject& child) {
    if (IsTextureKind(child.node.kind)) layers.push_back(&child);
  });
  if (layers.empty()) {
    *out_ << "texture { pigment { rgb 1 }" << around << " }";
    return;
  }
  // The ray tracer's first layer is its top; POV-Ray puts each later texture on top.
  for (auto layer = layers.rbegin(); layer != layers.rend(); ++layer) {
    if (layer != layers.rbegin() && IsPatternedTexture((*layer)->node.kind)) {
      Unwritten(**layer, "is patterned, which POV-Ray allows only as the bottom layer");
      continue;
    }
    if (layer != layers.rbegin()) *out_ << " ";
    Texture(**layer, around);
  }
}

void TextureWriter::TextureBody(const SceneObject& node) {
  const abi::TextureBlock& block = node.node;
  switch (block.kind) {
    case abi::kNodeStandardTexture:
      Children(node, [&](const SceneObject& child) {
        switch (child.node.kind) {
          case abi::kNodePigment:
            // The ray tracer leaves an empty pigment out.
            if (!child.children.empty()) Pigment(child);
            return;
          case abi::kNodeNormal:
            Normal(child);
            return;
          case abi::kNodeFinish:
            Finish(child);
            return;
          default:
            if (!Modifier(child, std::nullopt)) Unwritten(child);
        }
      });
      return;
    case abi::kNodeTextureMap:
      PatternMap(node, "texture_map", [this](const SceneObject& entry) { TextureBody(entry); });
      return;
    case abi::kNodeBlockTexture:
      BlockEntries(node, IsTextureKind, "texture", " ", " pigment { rgb 1 }",
                   [this](const SceneObject& entry) { TextureBody(entry); });
      BlockEnd(block.params.block);
      Modifiers(node, std::nullopt, IsTextureKind);
      return;
    case abi::kNodeMaterialMap: {
      const SceneObject* any = LastChild(node, IsTextureKind);
      const bool written = any && ImageBlock(node, abi::kFindImageMap, "material_map", false, [&] {
                             Children(node, [&](const SceneObject& child) {
                               if (!IsTextureKind(child.node.kind)) return;
                               *out_ << " texture {";
                               TextureBody(child);
                               *out_ << " }";
                             });
                           });
      if (!written) {
        if (!any) Unwritten(node, "has no textures");
        *out_ << " pigment { rgb 1 }";
        return;
      }
      Modifiers(node, std::nullopt, IsTextureKind);
      return;
    }
    case abi::kNodeLayeredTexture: {
      // Maps and blocks take single textures: the layers' top one stands for them.
      Unwritten(node, "stands where POV-Ray takes one texture: its top layer is written");
      const SceneObject* top = nullptr;
      Children(node, [&](const SceneObject& child) {
        if (!top && IsTextureKind(child.node.kind)) top = &child;
      });
      if (top) {
        TextureBody(*top);
      } else {
        *out_ << " pigment { rgb 1 }";
      }
      return;
    }
    default:
      Unwritten(node);
      *out_ << " pigment { rgb 1 }";
  }
}

// The ray tracer takes the last interior's index of refraction and every interior's media
// but the scene-wide ones.
void TextureWriter::Interior(const SceneObject& material) {
  const SceneObject* last = LastChild(material, IsInterior);
  if (!last) return;
  *out_ << "interior { ior " << last->node.params.interior.ior;
  InteriorChildren(material, [&](const SceneObject& child) {
    if (child.node.kind != abi::kNodeMedia) {
      if (child.node.kind != abi::kNodeComment) Unwritten(child);
    } else if (!IsSceneMedia(child)) {
      Media(child);
    }
  });
  *out_ << " }";
}

void TextureWriter::SceneMedia(const SceneObject& material) {
  InteriorChildren(material, [&](const SceneObject& media) {
    if (media.node.kind != abi::kNodeMedia || !IsSceneMedia(media)) return;
    *out_ << "// scene-wide media \"" << CommentText(media.name) << "\"\n";
    Media(media);
    *out_ << "\n";
  });
}

bool TextureWriter::IsSceneMedia(const SceneObject& media) const {
  const char* name = scene_.environment.mediaName;
  return !media.name.empty() &&
         media.name == std::string(name, strnlen(name, sizeof scene_.environment.mediaName));
}

// The ray tracer adds its densities where POV-Ray multiplies them: their average with the
// media's colours times their count is the sum. Its scattering is isotropic and dims the
// ray by the scattering and half of it again (times the extinction when set).
void TextureWriter::Media(const SceneObject& node) {
  const abi::MediaParams& m = node.node.params.media;
  *out_ << " media {";
  if (m.methodSet && m.method >= 1 && m.method <= 3) *out_ << " method " << m.method;
  // Settings POV-Ray would refuse are left at its defaults; the ray tracer steps on its own.
  if (m.intervals > 0) *out_ << " intervals " << m.intervals;
  if (m.samplesMin > 0) *out_ << " samples " << m.samplesMin << ", " << std::max(m.samplesMin, m.samplesMax);
  if (m.confidence > 0 && m.confidence < 1) *out_ << " confidence " << m.confidence;
  if (m.variance > 0) *out_ << " variance " << m.variance;
  if (m.ratio >= 0 && m.ratio <= 1) *out_ << " ratio " << m.ratio;
  std::vector<const SceneObject*> densities;
  const abi::ColorParams* colours[3] = {};  // absorption, emission, scattering: the last of each
  Children(node, [&](const SceneObject& child) {
    const uint32_t kind = child.node.kind;
    if (kind == abi::kNodeAbsorption || kind == abi::kNodeEmission || kind == abi::kNodeScattering) {
      colours[kind - abi::kNodeAbsorption] = &child.node.params.color;
    } else if (kind == abi::kNodeDensity) {
      densities.push_back(&child);
    } else if (kind != abi::kNodeComment) {
      Unwritten(child);
    }
  });
  const abi::ColorParams none{};
  const abi::ColorParams& absorption = colours[0] ? *colours[0] : none;
  const abi::ColorParams& emission = colours[1] ? *colours[1] : none;
  const abi::ColorParams& scattering = colours[2] ? *colours[2] : none;
  // The ray tracer switches each effect on by a red: emission by the emission's, the lit
  // scattering by the scattering's, the dimming by the absorption's or, unless an extinction
  // other than 0 is set, by the scattering's.
  const bool scatters = scattering.red != 0;
  const bool dims = absorption.red != 0 || (scatters && !(m.extinctionSet && m.extinction != 0));
  const double extinction = 1 + 0.5 * (m.extinctionSet ? m.extinction : 1.0);
  const double count = densities.size() > 1 ? double(densities.size()) : 1.0;
  const auto scaled = [count](const abi::ColorParams& c, double by = 1) {
    return Vec{c.red * count * by, c.green * count * by, c.blue * count * by};
  };
  if (emission.red != 0) *out_ << " emission rgb " << scaled(emission);
  if (scatters)
    *out_ << " scattering { 1, rgb " << scaled(scattering) << " extinction " << (dims ? extinction : 0)
          << " }";
  if (dims) {
    // Scattering that lights nothing still dims.
    const Vec own = scaled(absorption), lost = scaled(scattering, scatters ? 0 : extinction);
    *out_ << " absorption rgb " << Vec{own.x + lost.x, own.y + lost.y, own.z + lost.z};
  }
  if (densities.size() == 1) {
    *out_ << " density {";
    PigmentBody(*densities.front());
    *out_ << " }";
  } else if (!densities.empty()) {
    *out_ << " density { average density_map {";
    for (const SceneObject* density : densities) {
      *out_ << " [1";
      PigmentBody(*density);
      *out_ << "]";
    }
    *out_ << " } }";
  }
  *out_ << " }";
}

// The roughness is kept as the ray tracer reads it: POV-Ray takes its reciprocal the same way.
void TextureWriter::Finish(const SceneObject& node) {
  const abi::FinishParams& f = node.node.params.finish;
  *out_ << " finish { ambient " << f.ambient << " diffuse " << f.diffuse << " brilliance " << f.brilliance;
  if (f.phong != 0) *out_ << " phong " << f.phong << " phong_size " << f.phongSize;
  if (f.specular != 0) *out_ << " specular " << f.specular << " roughness " << f.roughness;
  if (f.crand != 0) *out_ << " crand " << f.crand;
  if (f.metallicSet) *out_ << " metallic " << f.metallic;
  Children(node, [&](const SceneObject& child) {
    const abi::ColorParams& c = child.node.params.color;
    if (child.node.kind == abi::kNodeAmbientColor) {
      *out_ << " ambient rgb " << Vec{c.red, c.green, c.blue};
    } else if (child.node.kind == abi::kNodeReflectionColor) {
      *out_ << " reflection rgb " << Vec{c.red, c.green, c.blue};
    } else if (child.node.kind != abi::kNodeComment) {
      Unwritten(child);
    }
  });
  *out_ << " }";
}

namespace {

bool HasInterior(const Scene& scene, const SceneObject& material) {
  return std::any_of(material.children.begin(), material.children.end(), [&](uint32_t id) {
    const SceneObject* child = scene.Find(id);
    return child && child->node.kind == abi::kNodeInterior;
  });
}

// Undoes an object's transform for a texture held against it: the inverse steps in
// reverse order.
void WriteHold(std::ostream& out, const abi::ParamRecord& p) {
  const double(&t)[3] = p.translate;
  if (t[0] != 0 || t[1] != 0 || t[2] != 0) out << " translate " << Vec{-t[0], -t[1], -t[2]};
  if (p.rotate[2] != 0) out << " rotate z*" << p.rotate[2];
  if (p.rotate[1] != 0) out << " rotate y*" << p.rotate[1];
  if (p.rotate[0] != 0) out << " rotate x*" << p.rotate[0];
  const Vec s = SoundScale(p.scale);
  if (s.x != 1 || s.y != 1 || s.z != 1) out << " scale " << Vec{1 / s.x, 1 / s.y, 1 / s.z};
}

}  // namespace

void WriteMaterials(const Scene& scene, const SceneFiles& files, std::ostream& out) {
  const std::vector<uint32_t>& materials = scene.List(abi::kMaterialList);
  for (size_t i = 0; i < materials.size(); ++i) {
    const SceneObject* material = scene.Find(materials[i]);
    if (!material) continue;
    TextureWriter writer(scene, files, out);
    out << "// material \"" << CommentText(material->name) << "\"\n#declare " << MaterialIdentifier(i)
        << " = ";
    writer.Material(*material);
    out << "\n";
    if (HasInterior(scene, *material)) {
      out << "#declare " << InteriorIdentifier(i) << " = ";
      writer.Interior(*material);
      out << "\n";
    }
  }
  // The ray tracer fills the whole scene with the media named as the scene's, from every
  // material it makes: those with a name.
  for (const uint32_t id : materials) {
    const SceneObject* material = scene.Find(id);
    if (material && !material->name.empty()) TextureWriter(scene, files, out).SceneMedia(*material);
  }
}

void WriteObjectTexture(const Scene& scene, const SceneObject& object, std::ostream& out) {
  const std::optional<size_t> index = MaterialIndex(scene, object.textureName);
  if (!index) return;
  out << " texture { " << MaterialIdentifier(*index);
  const abi::ObjectDataBlock& d = object.data;
  WriteTransform(out, d.textureScale, d.textureRotate, d.textureTranslate);
  const uint32_t lock = object.flags & abi::kFlagTextureLockMask;
  if (lock == abi::kFlagTextureLockAncestors) {
    std::vector<const SceneObject*> ancestors;
    for (uint32_t parent = object.parent; parent != 0 && ancestors.size() < 256;) {
      const SceneObject* enclosing = scene.Find(parent);
      if (!enclosing) break;
      ancestors.push_back(enclosing);
      parent = enclosing->parent;
    }
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) WriteHold(out, (*it)->params);
  }
  if (lock == abi::kFlagTextureLock || lock == abi::kFlagTextureLockAncestors) WriteHold(out, object.params);
  out << " }";
  const SceneObject* material = scene.Find(scene.List(abi::kMaterialList)[*index]);
  // POV-Ray fills only hollow objects with their media.
  if (HasInterior(scene, *material)) out << " interior { " << InteriorIdentifier(*index) << " } hollow";
}

}  // namespace lumetra::host::pov
