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
// executable of that name in the folders of PATH, then in `moreFolders`; empty when there
// is none.
std::string FindProgram(const std::string& name, const std::vector<std::string>& moreFolders = {});

// The folder of the running executable, empty when it cannot be told.
std::string ExecutableFolder();

// Starts `arguments[0]` (found by FindProgram) with `arguments`, not through a shell.
// None, with the reason in `error`, when it cannot be found or started.
std::optional<Subprocess> Spawn(const std::vector<std::string>& arguments, const SpawnOptions& options,
                                std::string* error);

// How a program run ended.
struct ProgramResult {
  bool started = false;  // false: it could not be run at all (`error` says why)
  int exitCode = -1;     // the exit status, or -1 when a signal ended it
  std::string error;
  bool Succeeded() const { return started && exitCode == 0; }
};

// Runs `arguments[0]` with `arguments` as Spawn does, its standard streams the caller's,
// and waits for it.
ProgramResult RunProgram(const std::vector<std::string>& arguments);

// Waits for the program to end: its exit status, or -1 when a signal ended it.
int WaitForExit(int pid);

// Ends a process group started with `ownProcessGroup` and reaps its leader: SIGTERM,
// then SIGKILL for what is left after `graceMilliseconds`.
void EndProcessGroup(int pid, int graceMilliseconds);

}  // namespace lumetra::platform
