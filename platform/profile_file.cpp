#include "platform/profile_file.h"

#include "platform/debug_log.h"
#include "platform/file_io.h"
#include "platform/profile_text.h"

namespace lumetra::platform {

ProfileFile::ProfileFile(std::filesystem::path path) : path_(std::move(path)) {}

std::error_code ProfileFile::Read(std::string& bytes) const {
  const std::error_code error = ReadFileBounded(path_, kMaxFileBytes, bytes);
  if (error == std::errc::no_such_file_or_directory) {
    bytes.clear();
    return {};
  }
  if (error) DebugLog::Printf("Profile file %s cannot be read: %s\n", path_.c_str(), error.message().c_str());
  return error;
}

std::string ProfileFile::GetString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue, std::size_t bufferSize) const {
  std::string bytes;
  std::optional<std::string> value;
  if (!Read(bytes)) value = ProfileText(bytes).Find(section, key);
  if (!value) {
    const std::size_t end = defaultValue.find_last_not_of(" \t");
    value = std::string(defaultValue.substr(0, end == std::string_view::npos ? 0 : end + 1));
  }
  if (bufferSize == 0) return {};
  if (value->size() > bufferSize - 1) value->resize(bufferSize - 1);
  return *value;
}

std::error_code ProfileFile::WriteString(std::string_view section, std::string_view key,
                                         std::string_view value) const {
  if (!ProfileText::CanWrite(section, key, value)) return std::make_error_code(std::errc::invalid_argument);
  std::string bytes;
  if (const std::error_code error = Read(bytes)) return error;
  ProfileText text(bytes);
  text.Set(section, key, value);
  const std::error_code error = WriteFileAtomically(path_, text.Text());
  if (error)
    DebugLog::Printf("Profile file %s cannot be written: %s\n", path_.c_str(), error.message().c_str());
  return error;
}

}  // namespace lumetra::platform
