#include "platform/profile_text.h"

#include "platform/case_insensitive.h"

namespace lumetra::platform {
namespace {

// A stray carriage return (a last line without its line feed) counts as a blank.
constexpr std::string_view kBlanks = " \t\r";

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string_view Unquote(std::string_view value) {
  const bool quoted =
      value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
  return quoted ? value.substr(1, value.size() - 2) : value;
}

// The section a header line names, or nullopt when the line is no header.
std::optional<std::string_view> SectionName(std::string_view line) {
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() != '[') return std::nullopt;
  const std::string_view inside = trimmed.substr(1);
  return Trim(inside.substr(0, inside.find(']')));
}

bool IsComment(std::string_view line) {
  const std::string_view trimmed = Trim(line);
  return !trimmed.empty() && trimmed.front() == ';';
}

}  // namespace

ProfileText::ProfileText(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t newline = bytes.find('\n');
    std::string_view text = bytes.substr(0, newline);
    std::string ending;
    if (newline != std::string_view::npos) {
      const bool crlf = !text.empty() && text.back() == '\r';
      if (crlf) text.remove_suffix(1);
      ending = crlf ? "\r\n" : "\n";
    }
    if (lines_.empty() && !ending.empty()) newline_ = ending;
    lines_.push_back({std::string(text), std::move(ending)});
    bytes.remove_prefix(newline == std::string_view::npos ? bytes.size() : newline + 1);
  }
}

std::optional<std::size_t> ProfileText::FindSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::optional<std::string_view> name = SectionName(lines_[i].text);
    if (name && EqualsIgnoringCase(*name, section)) return i;
  }
  return std::nullopt;
}

std::size_t ProfileText::SectionEnd(std::size_t header) const {
  std::size_t end = header + 1;
  while (end < lines_.size() && !SectionName(lines_[end].text)) ++end;
  return end;
}

std::optional<ProfileText::KeyLine> ProfileText::FindKey(std::size_t header, std::string_view key) const {
  const std::size_t end = SectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    const std::string& text = lines_[i].text;
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || IsComment(text)) continue;
    if (EqualsIgnoringCase(Trim(std::string_view(text).substr(0, equals)), key)) {
      const std::size_t valueStart = text.find_first_not_of(kBlanks, equals + 1);
      return KeyLine{i, valueStart == std::string::npos ? text.size() : valueStart};
    }
  }
  return std::nullopt;
}

std::optional<std::string> ProfileText::Find(std::string_view section, std::string_view key) const {
  const std::optional<std::size_t> header = FindSection(Trim(section));
  if (!header) return std::nullopt;
  const std::optional<KeyLine> found = FindKey(*header, Trim(key));
  if (!found) return std::nullopt;
  return std::string(Unquote(Trim(std::string_view(lines_[found->index].text).substr(found->valueStart))));
}

void ProfileText::InsertLine(std::size_t at, std::string text) {
  if (at > 0 && lines_[at - 1].ending.empty()) lines_[at - 1].ending = newline_;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(text), newline_});
}

void ProfileText::Set(std::string_view section, std::string_view key, std::string_view value) {
  const std::optional<std::size_t> header = FindSection(Trim(section));
  if (!header) {
    InsertLine(lines_.size(), "[" + std::string(section) + "]");
    InsertLine(lines_.size(), std::string(key) + "=" + std::string(value));
    return;
  }
  if (const std::optional<KeyLine> found = FindKey(*header, Trim(key))) {
    // Keep the key's spelling and the blanks around '=' as the file had them.
    std::string& text = lines_[found->index].text;
    text.replace(found->valueStart, std::string::npos, value);
    return;
  }
  // After the section's last non-blank line, so blank separators stay in place.
  std::size_t at = SectionEnd(*header);
  while (at > *header + 1 && Trim(lines_[at - 1].text).empty()) --at;
  InsertLine(at, std::string(key) + "=" + std::string(value));
}

std::string ProfileText::Text() const {
  std::string text;
  for (const Line& line : lines_) {
    text += line.text;
    text += line.ending;
  }
  return text;
}

bool ProfileText::CanWrite(std::string_view section, std::string_view key, std::string_view value) {
  const auto hasLineBreak = [](std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
  };
  const std::string_view trimmedKey = Trim(key);
  return !hasLineBreak(section) && !hasLineBreak(key) && !hasLineBreak(value) &&
         section.find(']') == std::string_view::npos && key.find('=') == std::string_view::npos &&
         !trimmedKey.empty() && trimmedKey.front() != '[' && trimmedKey.front() != ';';
}

}  // namespace lumetra::platform
