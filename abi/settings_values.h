#pragma once

#include <array>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "abi/same_name.h"
#include "abi/time_base.h"

namespace lumetra::abi {

// The values of the plug-in's settings key (kSettingsKeyName), shared by the plug-in,
// which loads, edits and saves them, and hosts, which may show and change them: their
// registry names, defaults, what the options sheet accepts and what loading repairs.
enum class SettingKind {
  Integer,     // a DWORD holding a signed number
  Real,        // a DWORD holding a float's four bytes
  FlagsWords,  // BINARY, one little-endian word per render method
  FourCC,      // a DWORD holding four characters, the first one lowest
  Text,        // SZ
};

// A range's limit as messages show it: "32", "0.01", "1000000".
inline std::string SettingNumberText(double value) {
  std::string text = std::to_string(value);
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
  return text;
}

struct SettingValue {
  static constexpr double kNoLimit = std::numeric_limits<double>::infinity();

  const char* name;
  SettingKind kind;
  double defaultValue;  // numbers only; the others name theirs below
  // What the options sheet accepts (Text: the longest length).
  double minimum;
  double maximum;
  // Loading turns a stored number outside [loadMinimum, loadMaximum] (or equal to the
  // minimum, with `aboveLoadMinimum`) into loadReset; without a load range, it keeps it.
  bool checkedOnLoad;
  double loadMinimum;
  double loadMaximum;
  bool aboveLoadMinimum;
  double loadReset;
  const char* meaning;
  // Set from others rather than by the user: the frame-rate fraction follows the choice.
  bool derived = false;

  constexpr bool Accepts(double value) const { return value >= minimum && value <= maximum; }
  constexpr double Loaded(double value) const {
    if (!checkedOnLoad) return value;
    const bool inside =
        value >= loadMinimum && value <= loadMaximum && !(aboveLoadMinimum && value == loadMinimum);
    return inside ? value : loadReset;
  }
  // What the sheet says when it refuses a typed number: "Please enter an integer between
  // 0 and 32.", "Please enter a number of at least 0."
  std::string RangeMessage() const {
    std::string message = kind == SettingKind::Real ? "Please enter a number " : "Please enter an integer ";
    if (maximum == kNoLimit) return message + "of at least " + SettingNumberText(minimum) + ".";
    return message + "between " + SettingNumberText(minimum) + " and " + SettingNumberText(maximum) + ".";
  }
  // The number typed for an Integer or Real value when it is one of its kind and in
  // range; blanks around it are allowed.
  std::optional<double> Read(std::string_view text) const {
    const std::string typed(text);
    const char* begin = typed.c_str();
    char* end = nullptr;
    double value = 0;
    if (kind == SettingKind::Integer) {
      const long long whole = std::strtoll(begin, &end, 10);
      value = static_cast<double>(whole);
    } else {
      value = std::strtod(begin, &end);
    }
    if (end == begin) return std::nullopt;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end != '\0' || !std::isfinite(value) || !Accepts(value)) return std::nullopt;
    return value;
  }
};

constexpr double kNoLimit = SettingValue::kNoLimit;

// The shading-flag bits the options sheet offers, in the order of its boxes, and the two
// that make the shading.
inline constexpr uint32_t kShadingSmooth = 0x2;  // alone: "Gouraud"
inline constexpr uint32_t kShadingPhong = 0x20;  // with kShadingSmooth: "Phong"
inline constexpr uint32_t kShadingTransmission = 0x100;
inline constexpr std::array<uint32_t, 8> kShadingFlagBoxes{0x40,  0x80, kShadingTransmission, 0x4, 0x10, 0x8,
                                                           0x200, 0x400};
inline constexpr std::array<const char*, 8> kShadingFlagNames{
    "Shadows",         "Reflection",      "Transmission", "Flip Normals",
    "Shade Backsides", "Cull Backfacing", "Volumes",      "Polygon CSG"};
inline constexpr uint32_t kShadingFlagsOffered = 0x7FE;
inline constexpr std::array<uint32_t, 7> kDefaultShadingFlags{8, 8, 14, 14, 454, 454, 454};
inline constexpr const char* kDefaultRibRenderer = "rendrib.exe";
inline constexpr char kDefaultCompressor[] = "MSVC";

// The render settings, in the order the registry lists them.
inline constexpr SettingValue kRenderMethodSetting{
    "RenderMethod",
    SettingKind::Integer,
    4,
    0,
    6,
    true,
    0,
    6,
    false,
    4,
    "render method: 0 Wireframe, 1 Hidden Line, 2 ZBuffer, 3 Scanline, 4 Raytracing, 5 POV-Ray, 6 RIB"};
inline constexpr SettingValue kShadingFlagsSetting{"ShadingFlags",
                                                   SettingKind::FlagsWords,
                                                   0,
                                                   0,
                                                   kShadingFlagsOffered,
                                                   false,
                                                   0,
                                                   0,
                                                   false,
                                                   0,
                                                   "shading flags of the seven methods in their order"};
// The load check resets only negative depths, and to 1.
inline constexpr SettingValue kScanlineDepthSetting{"ScanlineTransmissionDepth",
                                                    SettingKind::Integer,
                                                    0,
                                                    0,
                                                    32,
                                                    true,
                                                    0,
                                                    kNoLimit,
                                                    false,
                                                    1,
                                                    "transparency depth of the Scanline method"};
inline constexpr SettingValue kVolumeStepSizeSetting{
    "VolumeStepSize",  SettingKind::Real, 1.0, 0.0, kNoLimit, true, 0, kNoLimit, true, 1.0,
    "volume step size"};
// Stored step limits have always been checked against these ranges and reset values,
// narrower than what the sheet accepts.
inline constexpr SettingValue kVolumeMinStepsSetting{
    "VolumeMinSteps", SettingKind::Integer, 3, 0, 1000000, true, 2, 1684, false, 3, "volume minimum steps"};
inline constexpr SettingValue kVolumeMaxStepsSetting{
    "VolumeMaxSteps",      SettingKind::Integer, 50, 0, 1000000, true, 2, 16384, false, 64,
    "volume maximum steps"};
inline constexpr SettingValue kRibRendererSetting{
    "RIBRenderer", SettingKind::Text, 0, 0, 127, false, 0, 0, false, 0, "program of the RIB method"};

inline constexpr std::array<const SettingValue*, 7> kRenderSettingValues{
    &kRenderMethodSetting,   &kShadingFlagsSetting,   &kScanlineDepthSetting, &kVolumeStepSizeSetting,
    &kVolumeMinStepsSetting, &kVolumeMaxStepsSetting, &kRibRendererSetting};

// The animation output defaults, in the order the registry lists them; taken as read.
inline constexpr SettingValue kFileOutputSetting{
    "AnimFileOutputChoice",
    SettingKind::Integer,
    0,
    0,
    7,
    false,
    0,
    0,
    false,
    0,
    "animation output: 0 AVI, 1 BMP, 2 DIB, 3 PNG, 4 PPM, 5 TGA, 6 TGA (RLE), 7 TIF"};
inline constexpr SettingValue kTimeDisplaySetting{
    "TimeDisplayChoice",
    SettingKind::Integer,
    0,
    0,
    3,
    false,
    0,
    0,
    false,
    0,
    "time display: 0 Frames, 1 SMPTE, 2 Frame:Ticks, 3 MM:SS:Ticks"};
inline constexpr SettingValue kFrameRateChoiceSetting{
    "AVIFrameRateChoice",
    SettingKind::Integer,
    1,
    0,
    7,
    false,
    0,
    0,
    false,
    0,
    "frame rate: 0 10, 1 15, 2 24, 3 25, 4 30, 5 NTSC, 6 60 FPS, 7 Custom"};
inline constexpr SettingValue kCustomFrameRateSetting{"AVIFrameRateValue",
                                                      SettingKind::Real,
                                                      15.0,
                                                      0.01,
                                                      120.0,
                                                      false,
                                                      0,
                                                      0,
                                                      false,
                                                      0,
                                                      "custom frame rate, frames per second"};
inline constexpr SettingValue kCompressorSetting{
    "AVICompressionHandler", SettingKind::FourCC, 0, 0, 0, false, 0, 0, false, 0, "AVI compressor's code"};
inline constexpr SettingValue kQualitySetting{
    "AVIQuality", SettingKind::Integer, 8500, 0, 10000, false, 0, 0, false, 0, "AVI compressor quality"};
inline constexpr SettingValue kKeyFrameRateSetting{"AVIKeyFrameRate",
                                                   SettingKind::Integer,
                                                   15,
                                                   0,
                                                   100000,
                                                   false,
                                                   0,
                                                   0,
                                                   false,
                                                   0,
                                                   "a key frame every this many frames (0: only the first)"};
inline constexpr SettingValue kDataRateSetting{"AVIDataRate",
                                               SettingKind::Integer,
                                               300000,
                                               0,
                                               2147483647,
                                               false,
                                               0,
                                               0,
                                               false,
                                               0,
                                               "AVI data rate, bytes per second"};
inline constexpr SettingValue kFrameRateNumeratorSetting{"AVIFrameRate",
                                                         SettingKind::Integer,
                                                         15,
                                                         1,
                                                         2147483647,
                                                         false,
                                                         0,
                                                         0,
                                                         false,
                                                         0,
                                                         "frame rate numerator, follows the frame rate",
                                                         true};
inline constexpr SettingValue kFrameRateDenominatorSetting{"AVIFrameRateScale",
                                                           SettingKind::Integer,
                                                           1,
                                                           1,
                                                           2147483647,
                                                           false,
                                                           0,
                                                           0,
                                                           false,
                                                           0,
                                                           "frame rate denominator, follows the frame rate",
                                                           true};

inline constexpr std::array<const SettingValue*, 10> kAnimationSettingValues{
    &kFileOutputSetting,          &kTimeDisplaySetting, &kFrameRateChoiceSetting,
    &kCustomFrameRateSetting,     &kCompressorSetting,  &kQualitySetting,
    &kKeyFrameRateSetting,        &kDataRateSetting,    &kFrameRateNumeratorSetting,
    &kFrameRateDenominatorSetting};

// A four-character code as the registry and AVI files store it: first letter lowest.
constexpr uint32_t FourCC(std::string_view code) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4 && i < code.size(); ++i)
    value |= static_cast<uint32_t>(static_cast<uint8_t>(code[i])) << (8 * i);
  return value;
}

// The frame rate of a choice: the table's fraction for 0..6; for "Custom" the rate itself
// when it is whole, else thousandths truncated (in the float arithmetic the settings
// keep, so 29.97 gives 29970 / 1000). Nothing for an unknown choice.
static_assert(FLT_EVAL_METHOD == 0, "the frame rate's thousandths need float arithmetic in float");
inline std::optional<FrameRateFraction> FrameRateOfChoice(int32_t choice, float customRate) {
  if (choice >= 0 && choice < static_cast<int32_t>(kFrameRateChoices.size())) {
    return kFrameRateChoices[static_cast<size_t>(choice)];
  }
  if (choice != kCustomFrameRateChoice) return std::nullopt;
  if (customRate == std::floor(customRate)) return FrameRateFraction{static_cast<int32_t>(customRate), 1};
  const float thousandths = customRate * 1000.0f;
  return FrameRateFraction{static_cast<int32_t>(thousandths), 1000};
}

// A value of the settings key by name, ignoring case; null for another name.
inline const SettingValue* FindSettingValue(std::string_view name) {
  for (const auto& table : {std::span<const SettingValue* const>(kRenderSettingValues),
                            std::span<const SettingValue* const>(kAnimationSettingValues)}) {
    for (const SettingValue* value : table) {
      if (SameName(value->name, name)) return value;
    }
  }
  return nullptr;
}

}  // namespace lumetra::abi
