#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace lumetra::host {

// A readable name standing for a number in the scene file.
struct NamedValue {
  const char* name;
  uint32_t value;
};
using NameTable = std::span<const NamedValue>;

// Name for a number, or for its name; none when the table lacks it.
std::optional<uint32_t> ValueOfName(NameTable table, std::string_view name);
const char* NameOfValue(NameTable table, uint32_t value);

enum class FieldKind {
  kDoubles,   // `count` doubles: a number when count is 1, else an array
  kColor,     // five doubles (red, green, blue, filter, transmit); a file may give three
  kFloat,     // `count` 32-bit floats
  kInteger,   // `count` u32s
  kBool,      // a u32 holding 0 or 1
  kEnum,      // a u32 written as a name of `names`
  kLetter,    // a u32 holding one character of `letters`
  kText,      // char[count], NUL-terminated
  kBytes8,    // eight bytes written as a name of `names` (value = index in PluginKinds())
  kColorMap,  // a pattern pigment's colour-map count and its entries that follow
};

// One scene-file field of a record: where it lives and how it is written. Every field
// has a default that a file may leave out.
struct FieldLayout {
  const char* name;
  FieldKind kind;
  size_t offset;
  uint32_t count = 1;
  std::array<double, 5> defaults{};
  NameTable names{};
  const char* letters = nullptr;
};
using FieldList = std::span<const FieldLayout>;

// The arrays an object keeps beside its records.
enum class ObjectArrays { kNone, kProfile, kBlob, kSplineMesh, kMesh };

// Where an object may stand.
enum class ObjectPlace { kTree, kCamera };

struct ObjectTypeLayout {
  uint32_t type;
  const char* name;
  ObjectPlace place;
  bool hasChildren;
  ObjectArrays arrays;
  FieldList dataFields;   // in the object data block
  FieldList extraFields;  // in the object data block too (a light kind's own fields)
  FieldList paramFields;  // in the parameter record, for objects without a transform
};

struct NodeKindLayout {
  uint32_t kind;
  const char* name;
  FieldList fields;       // in the texture block
  FieldList extraFields;  // in the texture block too (colour entries of some kinds)
};

std::span<const ObjectTypeLayout> ObjectTypes();
std::span<const NodeKindLayout> NodeKinds();
const ObjectTypeLayout* FindObjectType(uint32_t type);
const ObjectTypeLayout* FindObjectType(std::string_view name);
const NodeKindLayout* FindNodeKind(uint32_t kind);
const NodeKindLayout* FindNodeKind(std::string_view name);

// Fields of the render settings, environment and view records.
FieldList RenderSettingsFields();
FieldList EnvironmentFields();
FieldList ViewFields();

// Pattern names 0..25, in sub-kind order.
NameTable PatternNames();

// The eight-byte kind identifiers of plug-in objects, by the index a kBytes8 field names.
std::span<const std::array<uint8_t, 8>> PluginKinds();

// Sets every field of `fields` in the record at `base` to its default.
void ApplyDefaults(FieldList fields, std::byte* base);

}  // namespace lumetra::host
