#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <set>
#include <stdexcept>
#include <string>

#include "host/record_fields.h"

namespace lumetra::host {

// A value of the scene file that does not fit its field. `place` is the JSON pointer of
// the value; the scene reader adds the file name.
class FieldError : public std::runtime_error {
 public:
  FieldError(std::string place, const std::string& problem)
      : std::runtime_error(problem), place_(std::move(place)) {}
  const std::string& Place() const { return place_; }

 private:
  std::string place_;
};

// Stores the fields of `fields` that `object` names into the record at `base`, checking
// each value's type and range, and adds their names to `used`. Absent fields are left
// as they are. `place` is the JSON pointer of `object`.
void ReadFields(const nlohmann::json& object, FieldList fields, std::byte* base, const std::string& place,
                std::set<std::string>& used);

// Writes every field of `fields` from the record at `base` into `object`.
void WriteFields(FieldList fields, const std::byte* base, nlohmann::json& object);

// Checks helpers shared with the scene reader; each throws FieldError.
double ReadNumber(const nlohmann::json& value, const std::string& place);
uint32_t ReadUnsigned(const nlohmann::json& value, const std::string& place);
const std::string& ReadString(const nlohmann::json& value, const std::string& place);
// Exactly `count` numbers (or, with `minimum` below count, at least that many).
void ReadNumbers(const nlohmann::json& value, const std::string& place, double* out, size_t count,
                 size_t minimum);
std::string TypeName(const nlohmann::json& value);

}  // namespace lumetra::host

namespace lumetra::host {

// A "transform" object of the scene file: "scale", "rotate" (degrees) and "translate",
// each three numbers and each optional (identity when absent).
void ReadTransform(const nlohmann::json& value, const std::string& place, double* scale, double* rotate,
                   double* translate);
nlohmann::json WriteTransform(const double* scale, const double* rotate, const double* translate);

// Fails on the first key of `object` that is not in `used`.
void CheckKnownKeys(const nlohmann::json& object, const std::set<std::string>& used,
                    const std::string& place);

}  // namespace lumetra::host
