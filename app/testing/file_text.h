#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace lumetra::app::testing {

// A whole file's bytes; empty when it cannot be read.
inline std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void Spit(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace lumetra::app::testing
