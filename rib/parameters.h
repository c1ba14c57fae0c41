// Typed access to a request's values: its positional arguments, then its parameter list
// of "name" value pairs typed by Declare, by an inline declaration ("uniform float Kd")
// or by the standard names.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "math/vector3.h"
#include "rib/diagnostics.h"
#include "rib/request_reader.h"

namespace lumetra::rib {

enum class StorageClass { kConstant, kUniform, kVarying, kVertex, kFaceVarying };
enum class ParamType { kFloat, kInteger, kPoint, kVector, kNormal, kColor, kString, kHPoint, kMatrix };

struct Declaration {
  StorageClass storage = StorageClass::kUniform;
  ParamType type = ParamType::kFloat;
  int arraySize = 1;

  // Numbers (or strings) one item of the parameter holds: 3 for a point, 16 for a matrix.
  int ValuesPerItem() const;
  // Whether the count of values depends on the primitive (one per vertex, face, ...).
  bool PerElement() const;
};

// The parameter types in force: the standard ones and what Declare added.
class Declarations {
 public:
  Declarations();
  // Parses "class type[n]"; nullopt for a text that is not a declaration.
  static std::optional<Declaration> Parse(const std::string& text);
  // Returns false for a malformed declaration.
  bool Declare(const std::string& name, const std::string& text);
  // The type of a parameter named `name`, which may carry an inline declaration, and the
  // bare name in `bareName`.
  std::optional<Declaration> Resolve(const std::string& name, std::string& bareName) const;

 private:
  std::map<std::string, Declaration> table_;
};

struct Parameter {
  Declaration declaration;
  Value value;
};

class ParameterList {
 public:
  const Parameter* Find(const std::string& name) const;
  // A parameter of constant size (a light's "from", a surface's "Kd"); `fallback` when
  // absent. Throws RibError when present with the wrong count or kind of values.
  double Number(const std::string& name, double fallback) const;
  math::Vector3 Triple(const std::string& name, const math::Vector3& fallback) const;
  std::string Text(const std::string& name, const std::string& fallback) const;
  // A per-vertex parameter of `items` items; nullopt when absent, RibError when the
  // count is wrong.
  std::optional<std::vector<double>> PerVertex(const std::string& name, std::size_t items) const;

 private:
  friend class Arguments;
  const std::vector<double>& Numbers(const std::string& name, const Parameter& parameter,
                                     std::size_t count) const;
  std::string fileName_;
  int line_ = 0;
  std::map<std::string, Parameter> parameters_;
};

// The values of one request, taken in order. Every failure throws RibError at the
// request's line naming the request.
class Arguments {
 public:
  Arguments(const Request& request, const Declarations& declarations, Diagnostics& diagnostics);

  double TakeNumber();
  int TakeInteger();
  std::string TakeString();
  // An array (or a single number) as one argument.
  std::vector<double> TakeNumbers();
  std::vector<int> TakeIntegers();
  std::vector<std::string> TakeStrings();
  bool AtEnd() const { return next_ >= request_.values.size(); }
  // Fails when values are left over.
  void ExpectEnd() const;
  // Whether the next value is a string (an optional positional name, say).
  bool NextIsText() const;
  // The rest as a parameter list.
  ParameterList TakeParameters();

  [[noreturn]] void Fail(const std::string& problem) const;

 private:
  const Value& Current(const char* wanted);

  const Request& request_;
  const Declarations& declarations_;
  Diagnostics& diagnostics_;
  std::size_t next_ = 0;
  std::size_t inArray_ = 0;  // numbers taken one by one from the current array
};

}  // namespace lumetra::rib
