// liblumetra2.so exports the header's entries and nothing else.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "platform/testing/child_process.h"

namespace {

// The entry declared on each "LUMETRA2_API" line: the name after LUMETRA2_CALL, or the
// declared name of an entry typed by a typedef ("LUMETRA2_API L2RenderEntry Tracer;").
std::set<std::string> headerEntries() {
  std::ifstream header(LUMETRA2_HEADER_PATH);
  std::set<std::string> names;
  std::string line;
  while (std::getline(header, line)) {
    if (line.rfind("LUMETRA2_API ", 0) != 0) continue;
    const size_t call = line.find("LUMETRA2_CALL ");
    const size_t start = call != std::string::npos ? call + 14 : line.find_last_of(' ') + 1;
    const size_t end = line.find_first_of("(;", start);
    names.insert(line.substr(start, end - start));
  }
  return names;
}

std::set<std::string> exportedSymbols() {
  std::istringstream lines(
      lumetra::platform::RunShell(std::string("nm -D --defined-only ") + LUMETRA2_LIBRARY_PATH).output);
  std::set<std::string> names;
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string address, kind, name;
    if (fields >> address >> kind >> name && (kind == "T" || kind == "W" || kind == "D" || kind == "B")) {
      names.insert(name);
    }
  }
  return names;
}

TEST(Exports, ExactlyTheHeaderEntries) {
  const std::set<std::string> entries = headerEntries();
  ASSERT_GT(entries.size(), 100u);
  EXPECT_TRUE(entries.count("ScalePrim") && entries.count("AATracer") && entries.count("NewScene"));
  const std::set<std::string> exported = exportedSymbols();
  for (const std::string& name : exported)
    EXPECT_TRUE(entries.count(name)) << "exported but not an entry: " << name;
  for (const std::string& name : entries) EXPECT_TRUE(exported.count(name)) << "entry not exported: " << name;
}

}  // namespace
