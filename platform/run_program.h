#pragma once

#include <optional>
#include <string>
#include <vector>

namespace lumetra::platform {

// How a program run ended.
struct ProgramResult {
  bool started = false;  // false: it could not be run at all (`error` says why)
  int exitCode = -1;     // the exit status, or -1 when a signal ended it
  std::string error;
  bool Succeeded() const { return started && exitCode == 0; }
};

// Runs `program` (a path) with `arguments` (argv[0] is the program) directly, without a
// shell, and waits for it. Its standard streams are the caller's.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments);

// The executable file a program name stands for: a name with a slash as it is, a bare
// name in the folders of $PATH, then in `moreFolders`; none when no such file exists.
std::optional<std::string> FindProgram(const std::string& name,
                                       const std::vector<std::string>& moreFolders = {});

// The folder of the running executable, empty when it cannot be told.
std::string ExecutableFolder();

}  // namespace lumetra::platform
