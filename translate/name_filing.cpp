#include "translate/name_filing.h"

#include <string>

#include "platform/debug_log.h"

namespace lumetra::translate {
namespace {

const char* KeepName(render::RenderJob& job, std::string_view name) {
  return job.keptNames.emplace_back(name).c_str();
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

}  // namespace lumetra::translate
