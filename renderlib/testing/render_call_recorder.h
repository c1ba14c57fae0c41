#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace lumetra::renderlib::testing {

// One call of a render-library entry.
struct RecordedCall {
  std::string name;
  std::vector<double> arguments;  // every scalar argument in order, the scene first
  std::vector<double> values;     // a copy of the array argument, if the entry takes one
  std::uint32_t result = 0;       // the handle made, or the result code
  std::string text;               // the name argument of SetNameValue and GetNameValue
};

// For tests that link lumetra2_recorder instead of liblumetra2.so: every entry
// the recorder defines appends its call, in order. Creating entries hand out
// handles counting from 1; the others answer L2_OK. A test scripts a refusal
// with FailNext. Construction starts a fresh record.
//
// The recorder keeps what the translation reads back as the library would:
// SetNameValue files a name (GetNameValue answers it, or 0), SetPrimTexture
// attaches a texture (GetPrimTexture answers it). User textures and volumes
// are released through their release callbacks when the recorder goes, as
// FreeScene releases them.
class RenderCallRecorder {
 public:
  RenderCallRecorder();
  ~RenderCallRecorder();
  RenderCallRecorder(const RenderCallRecorder&) = delete;
  RenderCallRecorder& operator=(const RenderCallRecorder&) = delete;

  // The next call of entry refuses: a creating entry returns 0, another L2_ERROR_ARGUMENT.
  void FailNext(const std::string& entry);
  std::vector<RecordedCall> Calls() const;
  std::vector<RecordedCall> CallsOf(const std::string& entry) const;
  // The names of the recorded calls, in order.
  std::vector<std::string> Names() const;
  // The CSG tree under handle as text: "(operation left right)" for a node,
  // "leaf(primitive)" for a leaf, the number for anything else.
  std::string CsgTree(std::uint32_t handle) const;

  // Files a value under name as if SetNameValue had been called, without recording a call.
  void FileName(const std::string& name, std::uintptr_t value);
  // The value filed under name, 0 when none; the name pointer that SetNameValue was
  // given is read now, so a name that did not stay alive shows up as a mismatch.
  std::uintptr_t FiledValue(const std::string& name) const;
  // The names as the library holds them now: read through the pointers it was given.
  std::vector<std::string> FiledNames() const;

  // Used by the recorded entries.
  static std::uint32_t Create(const char* entry, std::initializer_list<double> arguments,
                              std::vector<double> values = {});
  static std::int32_t Act(const char* entry, std::initializer_list<double> arguments,
                          std::vector<double> values = {});
};

}  // namespace lumetra::renderlib::testing
