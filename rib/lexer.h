// Tokens of ASCII RIB: request names, numbers, strings and array brackets.
#pragma once

#include <string>
#include <string_view>

namespace lumetra::rib {

enum class TokenKind { kEnd, kName, kNumber, kString, kOpenArray, kCloseArray };

struct Token {
  TokenKind kind = TokenKind::kEnd;
  std::string text;  // a name or a string's contents
  double number = 0.0;
  int line = 0;
};

// Reads tokens from the source, which must outlive the lexer. Comments ("#" to the end
// of the line) are skipped. Throws RibError naming `fileName` and the line for a bad
// character, an unclosed string or a number a double cannot hold.
class Lexer {
 public:
  Lexer(std::string_view source, std::string fileName);

  Token Next();
  const std::string& FileName() const { return fileName_; }

 private:
  [[noreturn]] void Fail(const std::string& problem) const;
  void SkipSpaceAndComments();
  Token ReadNumber();
  Token ReadString();
  Token ReadName();

  std::string_view source_;
  std::string fileName_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace lumetra::rib
