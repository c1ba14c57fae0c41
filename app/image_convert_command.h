#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace lumetra::app {

struct GlobalOptions;

// `lumetra image-convert IN OUT [--rle]`: reads IN as the renderer does and writes it
// with the render output writers, chosen by OUT's extension.
void RegisterImageConvertCommand(CLI::App& root, const GlobalOptions& options, int& exitCode);

// Returns 0; 1 after one line on `err` when IN cannot be read or OUT cannot be
// written; 2 when OUT's extension names no output format.
int RunImageConvert(const std::string& input, const std::string& output, bool rleTga, std::ostream& out,
                    std::ostream& err);

}  // namespace lumetra::app
