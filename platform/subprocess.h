#pragma once

#include <optional>
#include <string>
#include <vector>

namespace lumetra::platform {

// How a program is started.
struct SpawnOptions {
  // Its standard output and error come to the parent through `Subprocess::output`.
  bool pipeOutput = false;
  // It leads a process group of its own: Ctrl-C at the terminal does not reach it, and
  // ending the group ends whatever it started in turn.
  bool ownProcessGroup = false;
  // It is killed when the thread that started it ends (for single-threaded parents).
  bool endWithParent = false;
  // Where it starts; empty: where the parent is.
  std::string workingDirectory{};
};

// A program started by this process.
struct Subprocess {
  int pid = -1;
  int output = -1;  // read end of its output pipe when asked for, owned by the caller
};

// The full path of a program: `name` itself when it holds a slash, else the first
// executable of that name on PATH; empty when there is none.
std::string FindProgram(const std::string& name);

// Starts `arguments[0]` (found by FindProgram) with `arguments`, not through a shell.
// None, with the reason in `error`, when it cannot be found or started.
std::optional<Subprocess> Spawn(const std::vector<std::string>& arguments, const SpawnOptions& options,
                                std::string* error);

// Waits for the program to end: its exit status, or -1 when a signal ended it.
int WaitForExit(int pid);

// Ends a process group started with `ownProcessGroup` and reaps its leader: SIGTERM,
// then SIGKILL for what is left after `graceMilliseconds`.
void EndProcessGroup(int pid, int graceMilliseconds);

}  // namespace lumetra::platform
