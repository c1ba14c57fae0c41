#include "rib/parameters.h"

#include <cmath>
#include <sstream>

#include "rib/rib_error.h"

namespace lumetra::rib {
namespace {

const std::map<std::string, StorageClass>& StorageNames() {
  static const std::map<std::string, StorageClass> names = {{"constant", StorageClass::kConstant},
                                                            {"uniform", StorageClass::kUniform},
                                                            {"varying", StorageClass::kVarying},
                                                            {"vertex", StorageClass::kVertex},
                                                            {"facevarying", StorageClass::kFaceVarying}};
  return names;
}

const std::map<std::string, ParamType>& TypeNames() {
  static const std::map<std::string, ParamType> names = {
      {"float", ParamType::kFloat},  {"integer", ParamType::kInteger}, {"int", ParamType::kInteger},
      {"point", ParamType::kPoint},  {"vector", ParamType::kVector},   {"normal", ParamType::kNormal},
      {"color", ParamType::kColor},  {"string", ParamType::kString},   {"hpoint", ParamType::kHPoint},
      {"matrix", ParamType::kMatrix}};
  return names;
}

std::string Describe(std::size_t count, bool text) {
  return std::to_string(count) + (text ? " string" : " number") + (count == 1 ? "" : "s");
}

}  // namespace

int Declaration::ValuesPerItem() const {
  switch (type) {
    case ParamType::kPoint:
    case ParamType::kVector:
    case ParamType::kNormal:
    case ParamType::kColor:
      return 3 * arraySize;
    case ParamType::kHPoint:
      return 4 * arraySize;
    case ParamType::kMatrix:
      return 16 * arraySize;
    default:
      return arraySize;
  }
}

bool Declaration::PerElement() const {
  return storage == StorageClass::kVarying || storage == StorageClass::kVertex ||
         storage == StorageClass::kFaceVarying;
}

Declarations::Declarations() {
  const char* standard[][2] = {{"P", "vertex point"},
                               {"Pw", "vertex hpoint"},
                               {"Pz", "vertex float"},
                               {"N", "varying normal"},
                               {"Np", "uniform normal"},
                               {"Cs", "varying color"},
                               {"Os", "varying color"},
                               {"s", "varying float"},
                               {"t", "varying float"},
                               {"st", "varying float[2]"},
                               {"Ka", "uniform float"},
                               {"Kd", "uniform float"},
                               {"Ks", "uniform float"},
                               {"Kr", "uniform float"},
                               {"roughness", "uniform float"},
                               {"specularcolor", "uniform color"},
                               {"intensity", "uniform float"},
                               {"lightcolor", "uniform color"},
                               {"from", "uniform point"},
                               {"to", "uniform point"},
                               {"coneangle", "uniform float"},
                               {"conedeltaangle", "uniform float"},
                               {"beamdistribution", "uniform float"},
                               {"falloff", "uniform float"},
                               {"falloffdistance", "uniform float"},
                               {"shadows", "uniform string"},
                               {"bgcolor", "uniform color"},
                               {"fov", "uniform float"},
                               {"texturename", "uniform string"},
                               {"name", "uniform string"},
                               {"width", "varying float"},
                               {"constantwidth", "constant float"}};
  for (const auto& [name, text] : standard) table_[name] = *Parse(text);
}

std::optional<Declaration> Declarations::Parse(const std::string& text) {
  std::istringstream words(text);
  std::string word;
  Declaration declaration;
  if (!(words >> word)) return std::nullopt;
  if (const auto storage = StorageNames().find(word); storage != StorageNames().end()) {
    declaration.storage = storage->second;
    if (!(words >> word)) return std::nullopt;
  }
  std::string size;
  if (const auto bracket = word.find('['); bracket != std::string::npos) {
    size = word.substr(bracket);
    word.resize(bracket);
  }
  const auto type = TypeNames().find(word);
  if (type == TypeNames().end()) return std::nullopt;
  declaration.type = type->second;
  std::string rest;
  while (words >> word) rest += word;
  if (size.empty())
    size = rest;
  else if (!rest.empty())
    return std::nullopt;
  if (!size.empty()) {
    if (size.size() < 3 || size.front() != '[' || size.back() != ']') return std::nullopt;
    const std::string digits = size.substr(1, size.size() - 2);
    if (digits.empty() || digits.size() > 6 || digits.find_first_not_of("0123456789") != std::string::npos)
      return std::nullopt;
    declaration.arraySize = std::stoi(digits);
    if (declaration.arraySize < 1) return std::nullopt;
  }
  return declaration;
}

bool Declarations::Declare(const std::string& name, const std::string& text) {
  const auto declaration = Parse(text);
  if (!declaration || name.empty() || name.find(' ') != std::string::npos) return false;
  table_[name] = *declaration;
  return true;
}

std::optional<Declaration> Declarations::Resolve(const std::string& name, std::string& bareName) const {
  const auto lastSpace = name.find_last_of(" \t");
  if (lastSpace != std::string::npos) {
    bareName = name.substr(lastSpace + 1);
    return Parse(name.substr(0, lastSpace));
  }
  bareName = name;
  const auto found = table_.find(name);
  if (found == table_.end()) return std::nullopt;
  return found->second;
}

const Parameter* ParameterList::Find(const std::string& name) const {
  const auto found = parameters_.find(name);
  return found == parameters_.end() ? nullptr : &found->second;
}

const std::vector<double>& ParameterList::Numbers(const std::string& name, const Parameter& parameter,
                                                  std::size_t count) const {
  if (!parameter.value.IsNumeric())
    throw RibError(fileName_, line_, "parameter \"" + name + "\" needs numbers, not strings");
  if (parameter.value.numbers.size() != count)
    throw RibError(fileName_, line_,
                   "parameter \"" + name + "\" needs " + Describe(count, false) + ", got " +
                       std::to_string(parameter.value.numbers.size()));
  return parameter.value.numbers;
}

double ParameterList::Number(const std::string& name, double fallback) const {
  const Parameter* parameter = Find(name);
  return parameter ? Numbers(name, *parameter, 1)[0] : fallback;
}

math::Vector3 ParameterList::Triple(const std::string& name, const math::Vector3& fallback) const {
  const Parameter* parameter = Find(name);
  if (!parameter) return fallback;
  const auto& numbers = Numbers(name, *parameter, 3);
  return {numbers[0], numbers[1], numbers[2]};
}

std::string ParameterList::Text(const std::string& name, const std::string& fallback) const {
  const Parameter* parameter = Find(name);
  if (!parameter) return fallback;
  if (!parameter->value.IsText() || parameter->value.strings.size() != 1)
    throw RibError(fileName_, line_, "parameter \"" + name + "\" needs 1 string");
  return parameter->value.strings[0];
}

std::optional<std::vector<double>> ParameterList::PerVertex(const std::string& name,
                                                            std::size_t items) const {
  const Parameter* parameter = Find(name);
  if (!parameter) return std::nullopt;
  return Numbers(name, *parameter, items * parameter->declaration.ValuesPerItem());
}

Arguments::Arguments(const Request& request, const Declarations& declarations, Diagnostics& diagnostics)
    : request_(request), declarations_(declarations), diagnostics_(diagnostics) {}

void Arguments::Fail(const std::string& problem) const {
  throw RibError(request_.fileName, request_.line, request_.name + ": " + problem);
}

const Value& Arguments::Current(const char* wanted) {
  if (AtEnd()) Fail(std::string("missing ") + wanted);
  return request_.values[next_];
}

void Arguments::ExpectEnd() const {
  if (!AtEnd()) Fail(inArray_ != 0 ? "too many numbers" : "too many values");
}

bool Arguments::NextIsText() const { return !AtEnd() && inArray_ == 0 && request_.values[next_].IsText(); }

double Arguments::TakeNumber() {
  const Value& value = Current("a number");
  if (!value.IsNumeric()) Fail("expected a number, got a string");
  if (value.numbers.empty()) Fail("expected a number, got an empty array");
  const double number = value.numbers[inArray_++];
  if (inArray_ == value.numbers.size()) {
    inArray_ = 0;
    ++next_;
  }
  return number;
}

int Arguments::TakeInteger() {
  const double number = TakeNumber();
  if (number != std::floor(number) || std::fabs(number) > 1e9) Fail("expected an integer");
  return static_cast<int>(number);
}

std::string Arguments::TakeString() {
  const Value& value = Current("a string");
  if (inArray_ != 0) Fail("too many numbers");
  if (!value.IsText() || value.strings.size() != 1) Fail("expected a string");
  ++next_;
  return value.strings[0];
}

std::vector<double> Arguments::TakeNumbers() {
  const Value& value = Current("an array of numbers");
  if (inArray_ != 0) Fail("too many numbers");
  if (!value.IsNumeric()) Fail("expected an array of numbers");
  ++next_;
  return value.numbers;
}

std::vector<int> Arguments::TakeIntegers() {
  std::vector<int> integers;
  for (const double number : TakeNumbers()) {
    if (number != std::floor(number) || std::fabs(number) > 1e9) Fail("expected an array of integers");
    integers.push_back(static_cast<int>(number));
  }
  return integers;
}

std::vector<std::string> Arguments::TakeStrings() {
  const Value& value = Current("an array of strings");
  if (inArray_ != 0) Fail("too many numbers");
  if (!value.IsText()) Fail("expected an array of strings");
  ++next_;
  return value.strings;
}

ParameterList Arguments::TakeParameters() {
  if (inArray_ != 0) Fail("too many numbers");
  ParameterList list;
  list.fileName_ = request_.fileName;
  list.line_ = request_.line;
  while (!AtEnd()) {
    const Value& name = request_.values[next_];
    if (name.kind != Value::Kind::kString) {
      if (name.IsNumeric() && list.parameters_.empty()) Fail("too many numbers");
      Fail("expected a parameter name");
    }
    if (next_ + 1 >= request_.values.size()) Fail("parameter \"" + name.strings[0] + "\" has no value");
    const Value& value = request_.values[next_ + 1];
    next_ += 2;
    std::string bareName;
    const auto declaration = declarations_.Resolve(name.strings[0], bareName);
    if (!declaration) {
      if (name.strings[0].find(' ') != std::string::npos)
        Fail("malformed declaration \"" + name.strings[0] + "\"");
      diagnostics_.Once("ignoring undeclared parameter \"" + name.strings[0] + "\"");
      continue;
    }
    if ((declaration->type == ParamType::kString) != value.IsText())
      Fail("parameter \"" + bareName + "\" needs " + (value.IsText() ? "numbers" : "strings"));
    const std::size_t count = value.IsText() ? value.strings.size() : value.numbers.size();
    const std::size_t item = static_cast<std::size_t>(declaration->ValuesPerItem());
    if (declaration->PerElement() ? count % item != 0 || count == 0 : count != item)
      Fail("parameter \"" + bareName + "\" has " + Describe(count, value.IsText()) + ", " +
           (declaration->PerElement() ? "not a multiple of " : "needs ") + std::to_string(item));
    list.parameters_[bareName] = Parameter{*declaration, value};
  }
  return list;
}

}  // namespace lumetra::rib
