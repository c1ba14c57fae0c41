// Warnings on the side of a render: each said once, prefixed with the program's name.
#pragma once

#include <ostream>
#include <set>
#include <string>

namespace lumetra::rib {

class Diagnostics {
 public:
  explicit Diagnostics(std::ostream& out) : out_(out) {}

  // Writes "lumetra-rib: <message>" unless the same message was written before.
  void Once(const std::string& message) {
    if (said_.insert(message).second) out_ << "lumetra-rib: " << message << "\n";
  }
  void SkipRequest(const std::string& name) { Once("skipping unsupported request " + name); }

 private:
  std::ostream& out_;
  std::set<std::string> said_;
};

}  // namespace lumetra::rib
