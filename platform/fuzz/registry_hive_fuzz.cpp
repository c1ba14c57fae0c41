// Any bytes as a registry file: either a clear refusal or a hive whose saved
// form loads back to the same text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/registry_hive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string problem;
  const auto hive = lumetra::platform::RegistryHive::FromJson(
      std::string_view(reinterpret_cast<const char*>(data), size), problem);
  if (!hive) {
    if (problem.empty()) std::abort();
    return 0;
  }
  const std::string saved = hive->ToJson();
  const auto again = lumetra::platform::RegistryHive::FromJson(saved, problem);
  if (!again || again->ToJson() != saved) std::abort();
  return 0;
}
