#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra::platform {

// The lines of an INI ("private profile") file, read and changed the way
// GetPrivateProfileString and WritePrivateProfileString do: sections and keys
// compare without regard to case, the first section and the first key of a
// name count, lines starting with ';' are comments. A change touches only the
// line it changes or adds; every other byte, line ending included, stays.
class ProfileText {
 public:
  explicit ProfileText(std::string_view bytes);

  // The value with surrounding blanks and one pair of matching quotes removed.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;
  // Replaces the key's value, or adds the key (and the section) when missing.
  void Set(std::string_view section, std::string_view key, std::string_view value);

  std::string Text() const;

  // Whether writing these would keep the file's structure: no line breaks,
  // no '=' in the key, no ']' in the section, a key that is not blank.
  static bool CanWrite(std::string_view section, std::string_view key, std::string_view value);

 private:
  struct Line {
    std::string text;
    std::string ending;  // "\n", "\r\n", or "" on a last line without one
  };
  struct KeyLine {
    std::size_t index;
    std::size_t valueStart;  // where the value begins in the line's text
  };

  std::optional<std::size_t> FindSection(std::string_view section) const;
  std::size_t SectionEnd(std::size_t header) const;
  std::optional<KeyLine> FindKey(std::size_t header, std::string_view key) const;
  void InsertLine(std::size_t at, std::string text);

  std::vector<Line> lines_;
  std::string newline_ = "\n";  // for added lines: the file's own line ending
};

}  // namespace lumetra::platform
