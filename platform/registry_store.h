#pragma once

#include <filesystem>
#include <functional>

#include "platform/registry_hive.h"
#include "platform/registry_types.h"

namespace lumetra::platform {

// The file that holds one root. Readers see whole saves only (atomic
// replace); writers take an advisory lock on "<file>.lock", read the file
// afresh, apply their one change and save, so concurrent writers of other
// values never lose each other's work.
class RegistryStore {
 public:
  // A larger file is taken as damaged rather than read into memory.
  static constexpr std::size_t kMaxFileBytes = 16 << 20;

  explicit RegistryStore(std::filesystem::path file);

  const std::filesystem::path& File() const { return file_; }

  // A missing file is an empty root. A damaged one gives ERROR_BADDB and a
  // debug line naming the file and the fault.
  RegResult Load(RegistryHive& hive) const;

  // Applies `change` to the current contents and saves them when it returns
  // ERROR_SUCCESS. A damaged file is first moved aside to "<file>.corrupt".
  RegResult Update(const std::function<RegResult(RegistryHive&)>& change) const;

 private:
  RegResult LoadForUpdate(RegistryHive& hive) const;

  std::filesystem::path file_;
};

}  // namespace lumetra::platform
