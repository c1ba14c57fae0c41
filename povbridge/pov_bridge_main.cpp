// lumetra-povbridge: started by the host for each POV-Ray render; see pov_bridge.h.
#include <iostream>
#include <string>
#include <vector>

#include "povbridge/pov_bridge.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  lumetra::povbridge::PovBridgeRequest request;
  std::string error;
  if (!lumetra::povbridge::ParsePovBridgeArguments(arguments, request, error)) {
    std::cerr << "lumetra-povbridge: " << error << "\n"
              << "The host starts this program for each render by the \"POV-Ray\" method; it runs POV-Ray\n"
                 "and hands the picture to the render window through the shared display block.\n";
    return 2;
  }
  return lumetra::povbridge::RunPovBridge(request, std::cerr);
}
