// lumetra-rib: renders a RIB file through the render library and writes its picture.
#include <tbb/global_control.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "rib/interpreter.h"
#include "rib/rib_error.h"

namespace {

constexpr int kBadFile = 1;
constexpr int kBadUse = 2;

void PrintHelp() {
  std::cout << "Usage: lumetra-rib [-o FILE] [--threads N] SCENE.rib\n"
               "Renders a RenderMan Interface Bytestream (ASCII RIB) file with the Lumetra render\n"
               "library and writes the picture its Display request names (TIFF or PNG by the\n"
               "Display type or the name's extension).\n\n"
               "Options:\n"
               "  -o FILE      write the picture to FILE instead (its extension picks the format)\n"
               "  --threads N  render on at most N threads\n"
               "  --help       this text\n\n"
               "Exit codes: 0 written, 1 the file is malformed or the picture could not be\n"
               "written (nothing is written then), 2 bad arguments or an unreadable file.\n\n"
               "Requests carried out:\n ";
  int column = 1;
  for (const std::string& name : lumetra::rib::Interpreter::KnownRequests()) {
    if (column + name.size() + 1 > 78) {
      std::cout << "\n ";
      column = 1;
    }
    std::cout << " " << name;
    column += static_cast<int>(name.size()) + 1;
  }
  std::cout << "\nOther requests are named once on standard error and skipped.\n";
}

int Usage(const std::string& problem) {
  std::cerr << "lumetra-rib: " << problem << "\nTry 'lumetra-rib --help'.\n";
  return kBadUse;
}

}  // namespace

int main(int argc, char** argv) {
  lumetra::rib::InterpreterOptions options;
  std::optional<std::string> input;
  int threads = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--help" || argument == "-h") {
      PrintHelp();
      return 0;
    }
    if (argument == "-o" || argument == "--threads") {
      if (i + 1 >= argc) return Usage(argument + " needs a value");
      const std::string value = argv[++i];
      if (argument == "-o") {
        if (value.empty()) return Usage("-o needs a file name");
        options.output = value;
      } else {
        char* end = nullptr;
        const long n = std::strtol(value.c_str(), &end, 10);
        if (value.empty() || *end != '\0' || n < 1 || n > 1024)
          return Usage("--threads needs a number from 1 to 1024");
        threads = static_cast<int>(n);
      }
    } else if (!argument.empty() && argument[0] == '-' && argument != "-") {
      return Usage("unknown option " + argument);
    } else if (input) {
      return Usage("one RIB file at a time");
    } else {
      input = argument;
    }
  }
  if (!input) return Usage("no RIB file given");
  std::unique_ptr<tbb::global_control> threadLimit;
  if (threads > 0)
    threadLimit =
        std::make_unique<tbb::global_control>(tbb::global_control::max_allowed_parallelism, threads);

  lumetra::rib::Diagnostics diagnostics(std::cerr);
  lumetra::rib::Interpreter interpreter(diagnostics, options);
  try {
    interpreter.ReadFile(*input == "-" ? "/dev/stdin" : *input);
    interpreter.Finish();
  } catch (const lumetra::rib::RibError& error) {
    std::cerr << error.what() << "\n";
    return kBadFile;
  } catch (const std::system_error& error) {
    std::cerr << "lumetra-rib: cannot read " << error.what() << "\n";
    return kBadUse;
  }
  if (interpreter.Pictures().empty()) {
    std::cerr << "lumetra-rib: " << *input << " has no WorldBegin ... WorldEnd to render\n";
    return kBadFile;
  }
  try {
    lumetra::rib::WritePictures(interpreter.Pictures());
  } catch (const std::exception& error) {
    std::cerr << "lumetra-rib: " << error.what() << "\n";
    return kBadFile;
  }
  return 0;
}
