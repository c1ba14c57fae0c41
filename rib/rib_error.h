// The one error a RIB file can raise: a problem at a line of a named file.
#pragma once

#include <stdexcept>
#include <string>

namespace lumetra::rib {

class RibError : public std::runtime_error {
 public:
  RibError(const std::string& fileName, int line, const std::string& problem)
      : std::runtime_error(fileName + ":" + std::to_string(line) + ": " + problem),
        line_(line),
        problem_(problem) {}

  int Line() const { return line_; }
  const std::string& Problem() const { return problem_; }

 private:
  int line_;
  std::string problem_;
};

}  // namespace lumetra::rib
