#pragma once

#include <cstdint>

#include "abi/time_base.h"

namespace lumetra::abi {

// One animation run's changes to the plug-in's animation settings, asked of the host when
// "&Animation" starts: a host that renders a movie from its command line says there what
// its user asked for this run only. A host that does not answer the selector (any host of
// the original platform) leaves the settings as they are. Only the fields whose bit is
// set in `fields` count. Fixed-width fields: the record is the same in 32- and 64-bit
// builds.
constexpr int32_t kHostValueAnimationRun = 210;  // writes a const AnimationRunRecord*
constexpr uint32_t kAnimationRunVersion = 100;

// The animation settings' file output choices (fileOutput).
enum FileOutputChoice : int32_t {
  kOutputAvi = 0,
  kOutputBmp = 1,
  kOutputDib = 2,
  kOutputPng = 3,
  kOutputPpm = 4,
  kOutputTga = 5,
  kOutputTgaRle = 6,
  kOutputTif = 7,
};

enum AnimationRunField : uint32_t {
  kRunFileOutput = 1u << 0,       // fileOutput: a FileOutputChoice
  kRunCompressor = 1u << 1,       // compressor: a four-character code, first letter lowest
  kRunQuality = 1u << 2,          // quality: 1..10000, 0 the codec's default
  kRunKeyFrames = 1u << 3,        // keyFrameEvery: frames between key frames, 0 the codec's default
  kRunDataRate = 1u << 4,         // dataRate: kilobytes per second, 0 the codec's default
  kRunFrameRate = 1u << 5,        // rateNumerator / rateDenominator frames per second
  kRunStart = 1u << 6,            // startTime in ticks
  kRunEnd = 1u << 7,              // endTime in ticks
  kRunOutputBase = 1u << 8,       // outputBase: the movie's path without ".avi", or the frames' base
  kRunDropLastFrame = 1u << 9,    // dropLastFrame: 1 leaves out a frame that falls on the end time
  kRunThroughLastKey = 1u << 10,  // without kRunEnd: the range reaches at least the last key
};

struct AnimationRunRecord {
  uint32_t size;     // sizeof(AnimationRunRecord)
  uint32_t version;  // kAnimationRunVersion
  uint32_t fields;   // AnimationRunField bits
  int32_t fileOutput;
  uint32_t compressor;
  int32_t quality;
  int32_t keyFrameEvery;
  int32_t dataRate;
  int32_t rateNumerator;
  int32_t rateDenominator;
  int32_t startTime;
  int32_t endTime;
  int32_t dropLastFrame;
  char outputBase[512];
};
static_assert(sizeof(AnimationRunRecord) == 564);

}  // namespace lumetra::abi
