#include "translate/testing/render_call_recorder.h"

#include <lumetra2.h>

#include <algorithm>
#include <mutex>

namespace lumetra2_testing {
namespace {

struct Record {
  std::mutex mutex;
  std::vector<RecordedCall> calls;
  std::vector<std::string> failures;
  std::uint32_t lastHandle = 0;
};

Record& TheRecord() {
  static Record record;
  return record;
}

void Clear(Record& record) {
  std::lock_guard lock(record.mutex);
  record.calls.clear();
  record.failures.clear();
  record.lastHandle = 0;
}

// Appends the call; false when the test scripted this call to fail.
bool Append(const char* entry, std::initializer_list<double> arguments, std::vector<double> values,
            std::uint32_t& result, bool creates) {
  Record& record = TheRecord();
  std::lock_guard lock(record.mutex);
  const auto failure = std::find(record.failures.begin(), record.failures.end(), entry);
  const bool fails = failure != record.failures.end();
  if (fails) {
    record.failures.erase(failure);
    result = creates ? 0 : static_cast<std::uint32_t>(L2_ERROR_ARGUMENT);
  } else {
    result = creates ? ++record.lastHandle : static_cast<std::uint32_t>(L2_OK);
  }
  record.calls.push_back({entry, arguments, std::move(values), result});
  return !fails;
}

}  // namespace

RenderCallRecorder::RenderCallRecorder() { Clear(TheRecord()); }

RenderCallRecorder::~RenderCallRecorder() { Clear(TheRecord()); }

void RenderCallRecorder::FailNext(const std::string& entry) {
  Record& record = TheRecord();
  std::lock_guard lock(record.mutex);
  record.failures.push_back(entry);
}

std::vector<RecordedCall> RenderCallRecorder::Calls() const {
  Record& record = TheRecord();
  std::lock_guard lock(record.mutex);
  return record.calls;
}

std::vector<RecordedCall> RenderCallRecorder::CallsOf(const std::string& entry) const {
  std::vector<RecordedCall> calls = Calls();
  std::erase_if(calls, [&](const RecordedCall& call) { return call.name != entry; });
  return calls;
}

std::string RenderCallRecorder::CsgTree(std::uint32_t handle) const {
  for (const RecordedCall& call : Calls()) {
    if (call.result != handle) continue;
    const auto argument = [&](std::size_t i) { return static_cast<std::uint32_t>(call.arguments.at(i)); };
    if (call.name == "CreateCSG") {
      return "(" + std::to_string(argument(1)) + " " + CsgTree(argument(2)) + " " + CsgTree(argument(3)) + ")";
    }
    if (call.name == "CreateCSGPrim") return "leaf(" + std::to_string(argument(1)) + ")";
  }
  return std::to_string(handle);
}

std::uint32_t RenderCallRecorder::Create(const char* entry, std::initializer_list<double> arguments,
                                         std::vector<double> values) {
  std::uint32_t result = 0;
  Append(entry, arguments, std::move(values), result, true);
  return result;
}

std::int32_t RenderCallRecorder::Act(const char* entry, std::initializer_list<double> arguments,
                                     std::vector<double> values) {
  std::uint32_t result = 0;
  Append(entry, arguments, std::move(values), result, false);
  return static_cast<std::int32_t>(result);
}

}  // namespace lumetra2_testing

// The recorded entries, with the header's exact signatures.
using lumetra2_testing::RenderCallRecorder;

extern "C" {

L2Primitive LUMETRA2_CALL CreateGlyph(L2Scene scene) { return RenderCallRecorder::Create("CreateGlyph", {double(scene)}); }

int32_t LUMETRA2_CALL AddContour(L2Scene scene, L2Primitive glyph, int32_t values_per_point, int32_t point_count,
                                 const double* points) {
  const std::size_t count = points && values_per_point > 0 && point_count > 0
                                ? static_cast<std::size_t>(values_per_point) * static_cast<std::size_t>(point_count)
                                : 0;
  return RenderCallRecorder::Act("AddContour", {double(scene), double(glyph), double(values_per_point), double(point_count)},
                                 std::vector<double>(points, points + count));
}

int32_t LUMETRA2_CALL SetGlyphExtrusion(L2Scene scene, L2Primitive prim, double bevel, double start, double end) {
  return RenderCallRecorder::Act("SetGlyphExtrusion", {double(scene), double(prim), bevel, start, end});
}

L2Primitive LUMETRA2_CALL CreateCSGPrim(L2Scene scene, L2Primitive prim) {
  return RenderCallRecorder::Create("CreateCSGPrim", {double(scene), double(prim)});
}

L2Primitive LUMETRA2_CALL CreateCSG(L2Scene scene, int32_t operation, L2Primitive left, L2Primitive right) {
  return RenderCallRecorder::Create("CreateCSG", {double(scene), double(operation), double(left), double(right)});
}

}  // extern "C"
