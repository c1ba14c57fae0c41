#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace lumetra::platform {

// A private profile (INI) file read and written like GetPrivateProfileString
// and WritePrivateProfileString. Every call reads the file afresh; a missing
// file reads as empty and is created by the first write. Writes replace the
// file atomically (temporary file, then rename). There is no lock between
// writers, as there is none on Windows.
class ProfileFile {
 public:
  // A larger file is refused rather than read into memory.
  static constexpr std::size_t kMaxFileBytes = 16 << 20;

  explicit ProfileFile(std::filesystem::path path);

  const std::filesystem::path& Path() const { return path_; }

  // The key's value, else the default without trailing blanks, cut to
  // bufferSize - 1 characters as a buffer of bufferSize bytes holds them
  // (0 gives ""). An unreadable file gives the default and a debug line.
  std::string GetString(std::string_view section, std::string_view key, std::string_view defaultValue,
                        std::size_t bufferSize) const;

  // std::errc::invalid_argument for text that would break the file's lines
  // (see ProfileText::CanWrite); a file that cannot be read is not replaced.
  std::error_code WriteString(std::string_view section, std::string_view key, std::string_view value) const;

 private:
  std::error_code Read(std::string& bytes) const;

  std::filesystem::path path_;
};

}  // namespace lumetra::platform
