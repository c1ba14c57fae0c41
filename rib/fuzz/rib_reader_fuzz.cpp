// Any bytes as a RIB file: reading and building the scene must not crash, and a file
// that is refused must say where.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "rib/interpreter.h"
#include "rib/rib_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::ostringstream said;
  lumetra::rib::Diagnostics diagnostics(said);
  lumetra::rib::InterpreterOptions options;
  options.render = false;
  options.readArchives = false;
  lumetra::rib::Interpreter interpreter(diagnostics, options);
  try {
    interpreter.ReadText(std::string_view(reinterpret_cast<const char*>(data), size), "f.rib");
    interpreter.Finish();
  } catch (const lumetra::rib::RibError& error) {
    if (error.Line() < 1 || std::string(error.what()).rfind("f.rib:", 0) != 0) std::abort();
  }
  return 0;
}
