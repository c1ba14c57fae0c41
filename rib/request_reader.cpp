#include "rib/request_reader.h"

#include "rib/lexer.h"
#include "rib/rib_error.h"

namespace lumetra::rib {
namespace {

Value ReadArray(Lexer& lexer, int line) {
  Value array;
  array.line = line;
  bool numbers = false;
  bool strings = false;
  while (true) {
    Token token = lexer.Next();
    switch (token.kind) {
      case TokenKind::kCloseArray:
        array.kind = strings ? Value::Kind::kStringArray : Value::Kind::kNumberArray;
        return array;
      case TokenKind::kNumber:
        numbers = true;
        array.numbers.push_back(token.number);
        break;
      case TokenKind::kString:
        strings = true;
        array.strings.push_back(std::move(token.text));
        break;
      case TokenKind::kEnd:
        throw RibError(lexer.FileName(), line, "array opened here is never closed");
      case TokenKind::kOpenArray:
        throw RibError(lexer.FileName(), token.line, "arrays do not nest");
      case TokenKind::kName:
        throw RibError(lexer.FileName(), token.line,
                       "request " + token.text + " inside an array opened on line " + std::to_string(line));
    }
    if (numbers && strings) throw RibError(lexer.FileName(), token.line, "array mixes numbers and strings");
  }
}

}  // namespace

void ReadRequests(std::string_view source, const std::string& fileName,
                  const std::function<void(const Request&)>& handle) {
  Lexer lexer(source, fileName);
  Token token = lexer.Next();
  while (token.kind != TokenKind::kEnd) {
    if (token.kind != TokenKind::kName) throw RibError(fileName, token.line, "expected a request name");
    Request request;
    request.name = std::move(token.text);
    request.fileName = fileName;
    request.line = token.line;
    while (true) {
      token = lexer.Next();
      if (token.kind == TokenKind::kEnd || token.kind == TokenKind::kName) break;
      Value value;
      value.line = token.line;
      if (token.kind == TokenKind::kNumber) {
        value.kind = Value::Kind::kNumber;
        value.numbers.push_back(token.number);
      } else if (token.kind == TokenKind::kString) {
        value.kind = Value::Kind::kString;
        value.strings.push_back(std::move(token.text));
      } else if (token.kind == TokenKind::kOpenArray) {
        value = ReadArray(lexer, token.line);
      } else {
        throw RibError(fileName, token.line, "']' without '['");
      }
      request.values.push_back(std::move(value));
    }
    handle(request);
  }
}

}  // namespace lumetra::rib
