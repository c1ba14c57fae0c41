// liblumetra2.so exports the header's entries and nothing else.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

std::set<std::string> headerEntries() {
  std::ifstream header(LUMETRA2_HEADER_PATH);
  std::stringstream text;
  text << header.rdbuf();
  const std::string source = text.str();
  std::set<std::string> names;
  const std::regex entry(R"(LUMETRA2_API\s+[\w ]*?\b(?:LUMETRA2_CALL\s+)?(\w+)\s*[(;])");
  for (auto it = std::sregex_iterator(source.begin(), source.end(), entry); it != std::sregex_iterator(); ++it) {
    if (!(*it)[1].str().starts_with("__")) names.insert((*it)[1]);  // not the macro's own definition
  }
  return names;
}

std::set<std::string> exportedSymbols() {
  const std::string command = std::string("nm -D --defined-only ") + LUMETRA2_LIBRARY_PATH;
  std::set<std::string> names;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return names;
  char line[1024];
  while (fgets(line, sizeof line, pipe)) {
    std::istringstream fields(line);
    std::string address, kind, name;
    if (fields >> address >> kind >> name && (kind == "T" || kind == "W" || kind == "D" || kind == "B")) {
      names.insert(name);
    }
  }
  pclose(pipe);
  return names;
}

TEST(Exports, ExactlyTheHeaderEntries) {
  const std::set<std::string> entries = headerEntries();
  ASSERT_GT(entries.size(), 100u);
  EXPECT_TRUE(entries.count("ScalePrim") && entries.count("AATracer") && entries.count("NewScene"));
  const std::set<std::string> exported = exportedSymbols();
  for (const std::string& name : exported) EXPECT_TRUE(entries.count(name)) << "exported but not an entry: " << name;
  for (const std::string& name : entries) EXPECT_TRUE(exported.count(name)) << "entry not exported: " << name;
}

}  // namespace
