#include "translate/name_filing.h"

#include <algorithm>
#include <string>

#include "platform/debug_log.h"

namespace translate {
namespace {

// A string at least this long keeps its characters on the heap, where they stay put when
// the job's name list grows and moves its strings.
constexpr std::size_t kHeapCapacity = 32;

const char* KeepName(render::RenderJob& job, std::string_view name) {
  std::string kept;
  kept.reserve(std::max(name.size(), kHeapCapacity));
  kept.assign(name);
  job.keptNames.push_back(std::move(kept));
  return job.keptNames.back().c_str();
}

}  // namespace

bool FileName(render::RenderJob& job, std::string_view name, L2NameValue value) {
  const char* kept = KeepName(job, name);
  const int32_t result = SetNameValue(job.scene, kept, value);
  if (result != L2_OK) {
    platform::DebugLog::Printf("Name '%s' not filed (%d)\n", kept, result);
    return false;
  }
  return true;
}

L2NameValue LookUpName(const render::RenderJob& job, std::string_view name) {
  if (name.empty()) return 0;
  const std::string terminated(name);
  return GetNameValue(job.scene, terminated.c_str());
}

}  // namespace translate
