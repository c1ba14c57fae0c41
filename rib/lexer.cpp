#include "rib/lexer.h"

#include <charconv>
#include <cmath>
#include <utility>

#include "rib/rib_error.h"

namespace lumetra::rib {
namespace {

bool IsNameStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9'); }
bool IsNumberStart(char c) { return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.'; }
bool IsNumberChar(char c) {
  return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
}

}  // namespace

Lexer::Lexer(std::string_view source, std::string fileName)
    : source_(source), fileName_(std::move(fileName)) {}

void Lexer::Fail(const std::string& problem) const { throw RibError(fileName_, line_, problem); }

void Lexer::SkipSpaceAndComments() {
  while (pos_ < source_.size()) {
    const char c = source_[pos_];
    if (c == '\n') {
      ++line_;
      ++pos_;
    } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
      ++pos_;
    } else if (c == '#') {
      while (pos_ < source_.size() && source_[pos_] != '\n') ++pos_;
    } else {
      return;
    }
  }
}

Token Lexer::Next() {
  SkipSpaceAndComments();
  Token token;
  token.line = line_;
  if (pos_ >= source_.size()) return token;
  const char c = source_[pos_];
  if (c == '[' || c == ']') {
    ++pos_;
    token.kind = c == '[' ? TokenKind::kOpenArray : TokenKind::kCloseArray;
    return token;
  }
  if (c == '"') return ReadString();
  if (IsNumberStart(c)) return ReadNumber();
  if (IsNameStart(c)) return ReadName();
  if (static_cast<unsigned char>(c) >= 0x80 || c == '\0')
    Fail("binary RIB is not read (byte " + std::to_string(static_cast<unsigned char>(c)) + ")");
  Fail(std::string("unexpected character '") + c + "'");
}

Token Lexer::ReadNumber() {
  const std::size_t start = pos_;
  while (pos_ < source_.size() && IsNumberChar(source_[pos_])) ++pos_;
  std::string_view text = source_.substr(start, pos_ - start);
  // from_chars takes no leading '+'.
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  Token token;
  token.kind = TokenKind::kNumber;
  token.line = line_;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), token.number);
  if (error == std::errc::result_out_of_range)
    Fail("number out of range: " + std::string(source_.substr(start, pos_ - start)));
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(token.number))
    Fail("malformed number: " + std::string(source_.substr(start, pos_ - start)));
  if (pos_ < source_.size() && IsNameChar(source_[pos_]))
    Fail("malformed number: " + std::string(source_.substr(start, pos_ + 1 - start)));
  return token;
}

Token Lexer::ReadString() {
  Token token;
  token.kind = TokenKind::kString;
  token.line = line_;
  ++pos_;
  while (true) {
    if (pos_ >= source_.size()) {
      line_ = token.line;
      Fail("unclosed string");
    }
    char c = source_[pos_++];
    if (c == '"') return token;
    if (c == '\n') ++line_;
    if (c == '\\' && pos_ < source_.size()) {
      c = source_[pos_++];
      switch (c) {
        case 'n':
          c = '\n';
          break;
        case 't':
          c = '\t';
          break;
        case 'r':
          c = '\r';
          break;
        case 'b':
          c = '\b';
          break;
        case 'f':
          c = '\f';
          break;
        case '\n':  // a backslash before a newline joins the lines
          ++line_;
          continue;
        default:
          if (c >= '0' && c <= '7') {
            int value = c - '0';
            for (int digits = 1;
                 digits < 3 && pos_ < source_.size() && source_[pos_] >= '0' && source_[pos_] <= '7';
                 ++digits)
              value = value * 8 + (source_[pos_++] - '0');
            c = static_cast<char>(value);
          }
          break;
      }
    }
    token.text.push_back(c);
  }
}

Token Lexer::ReadName() {
  const std::size_t start = pos_;
  while (pos_ < source_.size() && IsNameChar(source_[pos_])) ++pos_;
  Token token;
  token.kind = TokenKind::kName;
  token.line = line_;
  token.text = std::string(source_.substr(start, pos_ - start));
  return token;
}

}  // namespace lumetra::rib
