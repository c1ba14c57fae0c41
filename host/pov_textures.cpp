// Materials (texture node trees of list 2) as POV-Ray textures and interiors.
#include <algorithm>
#include <cmath>
#include <optional>
#include <sstream>

#include "abi/scene_record.h"
#include "host/pov_text.h"

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

constexpr const char* kPatterns[] = {
    "agate",  "bozo",        "crackle", "gradient",  "granite",     "leopard", "mandel",
    "marble", "onion",       "radial",  "spiral1",   "spiral2",     "spotted", "wood",
    "bumps",  "ripples",     "dents",   "waves",     "wrinkles",    "quilted", "average",
    "boxed",  "cylindrical", "planar",  "spherical", "density_file"};
constexpr uint32_t kAverage = 20;
constexpr uint32_t kDensityFile = 25;
constexpr const char* kWaves[] = {"ramp_wave",    "triangle_wave", "sine_wave",
                                  "scallop_wave", "cubic_wave",    "poly_wave"};
constexpr const char* kBlocks[] = {"checker", "hexagon", "brick"};

class TextureWriter {
 public:
  TextureWriter(const Scene& scene, std::ostream& out) : scene_(scene), out_(out) {}

  // A node that can stand as a whole texture.
  void Texture(const SceneObject& node);
  void Interior(const SceneObject& node);

 private:
  template <typename Visit>
  void Children(const SceneObject& node, Visit visit) {
    for (const uint32_t id : node.children) {
      const SceneObject* child = scene_.Find(id);
      if (child && child->type == abi::kTypeTextureNode) visit(*child);
    }
  }
  void Unwritten(const SceneObject& node);
  // Transforms, noise modifiers and comments of a node; false for anything else.
  bool Modifier(const SceneObject& node);
  void Pigment(const SceneObject& node);
  void PatternPigment(const SceneObject& node);
  void BlockPigment(const SceneObject& node);
  void Finish(const SceneObject& node);
  void Pattern(const abi::PatternParams& pattern);
  void Block(const abi::BlockParams& block);
  void Colour(const abi::ColorParams& c) { WriteColour(out_, c.red, c.green, c.blue, c.filter, c.transmit); }

  const Scene& scene_;
  std::ostream& out_;
};

void TextureWriter::Unwritten(const SceneObject& node) {
  out_ << "\n  // texture node kind " << node.node.kind;
  if (!node.name.empty()) out_ << " \"" << CommentText(node.name) << "\"";
  out_ << " is not written\n ";
}

bool TextureWriter::Modifier(const SceneObject& node) {
  const auto& params = node.node.params;
  switch (node.node.kind) {
    case abi::kNodeTransform:
      WriteTransform(out_, params.transform.scale, params.transform.rotate, params.transform.translate);
      return true;
    case abi::kNodeNoiseModifiers: {
      const abi::NoiseModifierParams& noise = params.noise;
      const Vec turbulence = noise.perAxis ? VecOf(noise.turbulenceXyz)
                                           : Vec{noise.turbulence, noise.turbulence, noise.turbulence};
      if (turbulence.x != 0 || turbulence.y != 0 || turbulence.z != 0) {
        out_ << " turbulence " << turbulence << " octaves " << std::clamp<uint32_t>(noise.octaves, 1, 10)
             << " omega " << noise.omega << " lambda " << noise.lambda;
      }
      if (noise.frequency != 1) out_ << " frequency " << noise.frequency;
      if (noise.phase != 0) out_ << " phase " << noise.phase;
      if (noise.waveShape < std::size(kWaves)) out_ << " " << kWaves[noise.waveShape];
      return true;
    }
    case abi::kNodeComment:
      return true;
    default:
      return false;
  }
}

void TextureWriter::Texture(const SceneObject& node) {
  switch (node.node.kind) {
    case abi::kNodeMaterial: {
      bool written = false;
      Children(node, [&](const SceneObject& child) {
        const uint32_t kind = child.node.kind;
        if (!written && (kind == abi::kNodeStandardTexture || kind == abi::kNodeBlockTexture)) {
          Texture(child);
          written = true;
        } else if (kind != abi::kNodeInterior && kind != abi::kNodeComment) {
          Unwritten(child);
        }
      });
      if (!written) out_ << "texture { pigment { rgb 1 } }";
      return;
    }
    case abi::kNodeStandardTexture:
      out_ << "texture {";
      Children(node, [&](const SceneObject& child) {
        if (child.node.kind == abi::kNodePigment) {
          Pigment(child);
        } else if (child.node.kind == abi::kNodeFinish) {
          Finish(child);
        } else if (!Modifier(child)) {
          Unwritten(child);
        }
      });
      out_ << " }";
      return;
    case abi::kNodeBlockTexture:
      out_ << "texture { ";
      Block(node.node.params.block);
      Children(node, [&](const SceneObject& child) {
        const uint32_t kind = child.node.kind;
        if (kind == abi::kNodeStandardTexture || kind == abi::kNodeBlockTexture) {
          out_ << " ";
          Texture(child);
        } else if (!Modifier(child)) {
          Unwritten(child);
        }
      });
      out_ << " }";
      return;
    default:
      Unwritten(node);
      out_ << "texture { pigment { rgb 1 } }";
  }
}

void TextureWriter::Interior(const SceneObject& node) {
  Children(node, [&](const SceneObject& child) {
    if (child.node.kind == abi::kNodeInterior)
      out_ << "interior { ior " << child.node.params.interior.ior << " }";
  });
}

void TextureWriter::Pigment(const SceneObject& node) {
  out_ << " pigment {";
  bool coloured = false;
  Children(node, [&](const SceneObject& child) {
    const uint32_t kind = child.node.kind;
    if (!coloured && kind == abi::kNodeSolidColor) {
      out_ << " ";
      Colour(child.node.params.color);
    } else if (!coloured && (kind == abi::kNodePatternPigment || kind == abi::kNodePatternPigmentAlt)) {
      PatternPigment(child);
    } else if (!coloured && kind == abi::kNodeBlockPigment) {
      BlockPigment(child);
    } else {
      if (!Modifier(child)) Unwritten(child);
      return;
    }
    coloured = true;
  });
  // A pigment whose colour could not be written stays white rather than leaving POV-Ray guessing.
  if (!coloured) out_ << " rgb 1";
  out_ << " }";
}

void TextureWriter::Pattern(const abi::PatternParams& pattern) {
  const uint32_t kind = pattern.pattern < std::size(kPatterns) ? pattern.pattern : 1;
  out_ << " " << kPatterns[kind];
  switch (kind) {
    case 0:
      out_ << " agate_turb " << pattern.agateTurbulence;
      break;
    case 3:
      out_ << " " << VecOf(pattern.gradient);
      break;
    case 6:
      out_ << " " << std::max<uint32_t>(1, pattern.mandelIterations);
      break;
    case 10:
    case 11:
      out_ << " " << pattern.spiralArms;
      break;
    case 19:
      out_ << " control0 " << pattern.quilt[0] << " control1 " << pattern.quilt[1];
      break;
    default:
      break;
  }
}

void TextureWriter::PatternPigment(const SceneObject& node) {
  const abi::PatternParams& pattern = node.node.params.pattern;
  if (pattern.pattern == kAverage || pattern.pattern == kDensityFile) {
    Unwritten(node);
    return;
  }
  Pattern(pattern);
  out_ << " color_map {";
  const uint32_t count = std::min(pattern.colorMapCount, abi::kMaxColorMapEntries);
  for (uint32_t i = 0; i < count; ++i) {
    const abi::ColorMapEntry& entry = pattern.colorMap[i];
    out_ << " [" << entry.value << " ";
    WriteColour(out_, entry.red, entry.green, entry.blue, entry.filter, entry.transmit);
    out_ << "]";
  }
  out_ << " }";
  Children(node, [&](const SceneObject& child) {
    if (!Modifier(child)) Unwritten(child);
  });
}

void TextureWriter::Block(const abi::BlockParams& block) {
  out_ << kBlocks[block.block < std::size(kBlocks) ? block.block : 0];
}

// The block's colours, then its brick size and mortar: POV-Ray wants them in that order.
void TextureWriter::BlockPigment(const SceneObject& node) {
  const abi::BlockParams& block = node.node.params.block;
  out_ << " ";
  Block(block);
  const int colours = block.block == 1 ? 3 : 2;
  for (int i = 0; i < colours; ++i) {
    const double(&c)[5] = block.colors[i];
    out_ << (i ? ", " : " ");
    WriteColour(out_, c[0], c[1], c[2], c[3], c[4]);
  }
  if (block.block == 2) out_ << " brick_size " << VecOf(block.brickSize) << " mortar " << block.mortar;
  Children(node, [&](const SceneObject& child) {
    if (!Modifier(child)) Unwritten(child);
  });
}

// The roughness is kept as the ray tracer reads it: POV-Ray takes its reciprocal the same way.
void TextureWriter::Finish(const SceneObject& node) {
  const abi::FinishParams& f = node.node.params.finish;
  out_ << " finish { ambient " << f.ambient << " diffuse " << f.diffuse << " brilliance " << f.brilliance;
  if (f.phong != 0) out_ << " phong " << f.phong << " phong_size " << f.phongSize;
  if (f.specular != 0) out_ << " specular " << f.specular << " roughness " << f.roughness;
  if (f.crand != 0) out_ << " crand " << f.crand;
  if (f.metallicSet) out_ << " metallic " << f.metallic;
  Children(node, [&](const SceneObject& child) {
    const abi::ColorParams& c = child.node.params.color;
    if (child.node.kind == abi::kNodeAmbientColor) {
      out_ << " ambient rgb " << Vec{c.red, c.green, c.blue};
    } else if (child.node.kind == abi::kNodeReflectionColor) {
      out_ << " reflection rgb " << Vec{c.red, c.green, c.blue};
    } else if (child.node.kind != abi::kNodeComment) {
      Unwritten(child);
    }
  });
  out_ << " }";
}

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

void WriteMaterials(const Scene& scene, std::ostream& out) {
  const std::vector<uint32_t>& materials = scene.List(abi::kMaterialList);
  for (size_t i = 0; i < materials.size(); ++i) {
    const SceneObject* material = scene.Find(materials[i]);
    if (!material) continue;
    TextureWriter writer(scene, out);
    out << "// material \"" << CommentText(material->name) << "\"\n#declare " << MaterialIdentifier(i)
        << " = ";
    writer.Texture(*material);
    out << "\n";
    if (HasInterior(scene, *material)) {
      out << "#declare " << InteriorIdentifier(i) << " = ";
      writer.Interior(*material);
      out << "\n";
    }
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
  if (HasInterior(scene, *material)) out << " interior { " << InteriorIdentifier(*index) << " }";
}

}  // namespace lumetra::host::pov
