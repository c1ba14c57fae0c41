#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace lumetra::povbridge {

// One POV-Ray render as the host's POV-Ray call asks for it.
struct PovBridgeRequest {
  std::string povray = "povray";             // the program
  std::vector<std::string> povrayArguments;  // the scene file and the host's options
  std::string folder;                        // the render's own folder, removed at the end
  int hostProcess = 0;                       // the render stops when this process ends
};

// The extension's side of a POV-Ray job, in a process of its own: runs POV-Ray at the
// size of the job named in the control block, shows its progress in the display block's
// head, copies the picture into the display block (never more than the job's width x
// height x 4 bytes) and tells the job's render window with copy-data 3 when the picture
// is in place, or 2 with the reason when the render failed. A render window that closes,
// or a host that ends, stops POV-Ray; no process is left behind. Returns the exit status:
// 0 when the picture was delivered.
int RunPovBridge(const PovBridgeRequest& request, std::ostream& err);

// Tells a POV-Ray job's render window, in this process or another, how the render went:
// abi::pov::kRenderEnded, or kRenderFailed followed by the reason, which the window
// writes to the debug output.
void TellRenderWindow(uint32_t window, uint32_t code, const std::string& reason);

// The arguments of the bridge program, as the host passes them:
//   --host PID --folder DIR [--povray PROGRAM] -- POVRAY-ARGUMENTS...
std::vector<std::string> PovBridgeArguments(const PovBridgeRequest& request);
// Reads them back; false (and the reason in `error`) when they make no request.
bool ParsePovBridgeArguments(const std::vector<std::string>& arguments, PovBridgeRequest& request,
                             std::string& error);

}  // namespace lumetra::povbridge
