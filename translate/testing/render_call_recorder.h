#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace lumetra2_testing {

// One call of a render-library entry.
struct RecordedCall {
  std::string name;
  std::vector<double> arguments;  // every scalar argument in order, the scene first
  std::vector<double> values;     // a copy of the array argument, if the entry takes one
  std::uint32_t result = 0;       // the handle made, or the result code
};

// For tests that link lumetra2_recorder instead of liblumetra2.so: every entry
// the recorder defines appends its call, in order. Creating entries hand out
// handles counting from 1; the others answer L2_OK. A test scripts a refusal
// with FailNext. Construction starts a fresh record.
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
  // The CSG tree under handle as text: "(operation left right)" for a node,
  // "leaf(primitive)" for a leaf, the number for anything else.
  std::string CsgTree(std::uint32_t handle) const;

  // Used by the recorded entries.
  static std::uint32_t Create(const char* entry, std::initializer_list<double> arguments,
                              std::vector<double> values = {});
  static std::int32_t Act(const char* entry, std::initializer_list<double> arguments,
                          std::vector<double> values = {});
};

}  // namespace lumetra2_testing
