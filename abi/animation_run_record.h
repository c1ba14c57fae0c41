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

// Numbered pictures are the base, this suffix with the frame's index, and the format's
// extension: "walk" gives "walk-00003.png".
inline constexpr char kFrameNumberSuffix[] = "-%05d";

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
  kRunFrames = 1u << 11,          // only the frames firstFrame..lastFrame, every frameStride-th, by index
  kRunListOnly = 1u << 12,        // renders nothing: only reports the run's frames
  kRunFromPictures = 1u << 13,    // the frames are not rendered but read from numbered pictures (below)
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
  int32_t firstFrame;
  int32_t lastFrame;
  int32_t frameStride;  // 1 or more
  // kRunFromPictures: frame k is read from picturesBase + "-%05d" + the extension of
  // picturesOutput (a FileOutputChoice), as a run with that file output writes it, so that
  // a movie can be made of frames rendered apart.
  int32_t picturesOutput;
  char picturesBase[512];
};
static_assert(sizeof(AnimationRunRecord) == 1092);

// Before its first frame, an animation run tells the host which frames the whole run
// has, whatever kRunFrames picks of them: GetHostValue(kHostValueAnimationFrames, p)
// with p a const AnimationFramesRecord* that the host reads during the call.
constexpr int32_t kHostValueAnimationFrames = 211;
constexpr uint32_t kAnimationFramesVersion = 100;

struct AnimationFramesRecord {
  uint32_t size;     // sizeof(AnimationFramesRecord)
  uint32_t version;  // kAnimationFramesVersion
  int32_t firstIndex;
  int32_t count;      // frames from firstIndex on, one index apart
  int32_t startTime;  // ticks of the first frame
  int32_t step;       // ticks between frames
  int32_t width;      // the frames' size in pixels
  int32_t height;
};
static_assert(sizeof(AnimationFramesRecord) == 32);

}  // namespace lumetra::abi
