#pragma once

#include <cstddef>
#include <cstdint>

namespace lumetra::abi {

constexpr uint32_t kRenderSettingsVersion = 101;
constexpr int32_t kRenderSettingsSelector = 1;

// The output-format letter of the render settings: the kind of picture a still render writes.
enum OutputFormatLetter : uint32_t {
  kLetterBmp = 'S',
  kLetterTga = 'T',
  kLetterTgaRle = 'C',
  kLetterPng = 'N',
  kLetterPpm = 'P',
};
inline constexpr char kOutputFormatLetters[] = {kLetterBmp, kLetterTga, kLetterTgaRle,
                                                kLetterPng, kLetterPpm, '\0'};

// Render settings record of GetRenderSettings (selector 1; the caller sets the version
// word). Data only, packed to four bytes: 584 bytes in every build.
#pragma pack(push, 4)
struct RenderSettingsRecord {
  uint32_t version;         // 0
  uint32_t selector;        // 4: the selector the host answered
  uint32_t hostDisplay;     // 8: the host shows the image in its own view
  uint32_t width;           // 12
  uint32_t height;          // 16
  uint32_t showWindow;      // 20
  uint32_t antialias;       // 24: anti-aliasing on
  uint32_t antialiasMode;   // 28: 1 gives depth 1, others the depth below
  uint32_t antialiasDepth;  // 32
  uint32_t reserved36;
  double antialiasThreshold;  // 40
  double extraValue;          // 48
  uint32_t extraInteger;      // 56
  uint32_t outputFormat;      // 60: an OutputFormatLetter
  char outputDirectory[260];  // 64: ends with a separator when not empty
  char sceneFile[260];        // 324: path of the scene file, empty when never saved
};
#pragma pack(pop)

static_assert(sizeof(RenderSettingsRecord) == 584);
static_assert(offsetof(RenderSettingsRecord, width) == 12);
static_assert(offsetof(RenderSettingsRecord, antialias) == 24);
static_assert(offsetof(RenderSettingsRecord, antialiasThreshold) == 40);
static_assert(offsetof(RenderSettingsRecord, outputFormat) == 60);
static_assert(offsetof(RenderSettingsRecord, outputDirectory) == 64);
static_assert(offsetof(RenderSettingsRecord, sceneFile) == 324);

}  // namespace lumetra::abi
