#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace lumetra::app {

struct GlobalOptions;

// `lumetra image-info FILE`: how the renderer's image loader sees an image file.
void RegisterImageInfoCommand(CLI::App& root, const GlobalOptions& options, int& exitCode);

// Prints format, size, pixel kind, palette size, bits per pixel and row order of
// `path` (as JSON when `json`); returns 0, or 1 after one line on `err` when no reader
// takes the file.
int RunImageInfo(const std::string& path, bool json, std::ostream& out, std::ostream& err);

}  // namespace lumetra::app
