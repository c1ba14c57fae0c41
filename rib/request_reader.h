// Groups RIB tokens into requests: a name followed by its values (numbers, strings and
// arrays of either) up to the next name.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra::rib {

struct Value {
  enum class Kind { kNumber, kString, kNumberArray, kStringArray };
  Kind kind = Kind::kNumber;
  std::vector<double> numbers;       // one for kNumber
  std::vector<std::string> strings;  // one for kString
  int line = 0;

  bool IsNumeric() const { return kind == Kind::kNumber || kind == Kind::kNumberArray; }
  bool IsText() const { return kind == Kind::kString || kind == Kind::kStringArray; }
};

struct Request {
  std::string name;
  std::string fileName;
  int line = 0;
  std::vector<Value> values;
};

// Reads every request of `source` in order and hands each to `handle`. Throws RibError
// for a value before the first request, a bracket out of place, an array mixing numbers
// and strings, and whatever the lexer refuses.
void ReadRequests(std::string_view source, const std::string& fileName,
                  const std::function<void(const Request&)>& handle);

}  // namespace lumetra::rib
