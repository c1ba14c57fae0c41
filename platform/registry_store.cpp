#include "platform/registry_store.h"

#include "platform/debug_log.h"
#include "platform/file_io.h"
#include "platform/file_lock.h"

namespace lumetra::platform {

RegistryStore::RegistryStore(std::filesystem::path file) : file_(std::move(file)) {}

RegResult RegistryStore::Load(RegistryHive& hive) const {
  std::string text;
  const std::error_code error = ReadFileBounded(file_, kMaxFileBytes, text);
  if (error == std::errc::no_such_file_or_directory) {
    hive = RegistryHive();
    return ERROR_SUCCESS;
  }
  std::string problem;
  std::optional<RegistryHive> loaded;
  if (error == std::errc::file_too_large) {
    problem = "larger than " + std::to_string(kMaxFileBytes) + " bytes";
  } else if (error) {
    DebugLog::Printf("Registry file %s cannot be read: %s\n", file_.c_str(), error.message().c_str());
    return ERROR_CANTREAD;
  } else {
    loaded = RegistryHive::FromJson(text, problem);
  }
  if (!loaded) {
    DebugLog::Printf("Registry file %s is damaged: %s\n", file_.c_str(), problem.c_str());
    return ERROR_BADDB;
  }
  hive = std::move(*loaded);
  return ERROR_SUCCESS;
}

RegResult RegistryStore::LoadForUpdate(RegistryHive& hive) const {
  const RegResult result = Load(hive);
  if (result != ERROR_BADDB) return result;
  std::filesystem::path movedTo;
  if (const std::error_code error = MoveAside(file_, movedTo)) {
    DebugLog::Printf("Registry file %s cannot be moved aside: %s\n", file_.c_str(), error.message().c_str());
    return ERROR_CANTWRITE;
  }
  DebugLog::Printf("Registry file %s moved aside to %s; starting a fresh one\n", file_.c_str(),
                   movedTo.c_str());
  hive = RegistryHive();
  return ERROR_SUCCESS;
}

RegResult RegistryStore::Update(const std::function<RegResult(RegistryHive&)>& change) const {
  std::error_code error;
  std::filesystem::create_directories(file_.parent_path(), error);
  std::filesystem::path lockFile = file_;
  lockFile += ".lock";
  const ExclusiveFileLock lock(lockFile, error);
  if (error) {
    DebugLog::Printf("Registry file %s cannot be locked: %s\n", file_.c_str(), error.message().c_str());
    return ERROR_CANTWRITE;
  }
  RegistryHive hive;
  RegResult result = LoadForUpdate(hive);
  if (result == ERROR_SUCCESS) result = change(hive);
  if (result != ERROR_SUCCESS) return result;
  if (const std::error_code saveError = WriteFileAtomically(file_, hive.ToJson())) {
    DebugLog::Printf("Registry file %s cannot be saved: %s\n", file_.c_str(), saveError.message().c_str());
    return ERROR_CANTWRITE;
  }
  return ERROR_SUCCESS;
}

}  // namespace lumetra::platform
