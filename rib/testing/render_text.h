// For tests: RIB text carried out in-process, with what it said on the side.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "rib/interpreter.h"
#include "rib/rib_error.h"

namespace lumetra::rib::testing {

struct Outcome {
  std::vector<Picture> pictures;
  std::string said;   // the warnings
  std::string error;  // the RibError's message, empty when the text was read whole
};

inline Outcome RenderText(const std::string& text, bool render = true) {
  Outcome outcome;
  std::ostringstream said;
  Diagnostics diagnostics(said);
  InterpreterOptions options;
  options.render = render;
  Interpreter interpreter(diagnostics, options);
  try {
    interpreter.ReadText(text, "scene.rib");
    interpreter.Finish();
  } catch (const RibError& error) {
    outcome.error = error.what();
  }
  outcome.pictures = interpreter.Pictures();
  outcome.said = said.str();
  return outcome;
}

// The error of a text that must fail, built but not rendered.
inline std::string ErrorOf(const std::string& text) { return RenderText(text, false).error; }

}  // namespace lumetra::rib::testing
