#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>

namespace lumetra::platform {

// ThreadSanitizer cannot follow a forked child that starts threads of its own while the
// parent has threads; tests whose children do skip under it.
#if defined(__SANITIZE_THREAD__)
inline constexpr bool kForkedChildrenCannotStartThreads = true;
#else
inline constexpr bool kForkedChildrenCannotStartThreads = false;
#endif

// For two-process tests: runs `body` in a forked child whose exit status is
// the body's result (an exception counts as failure). The child leaves with
// _exit so that it never runs the parent's test framework teardown.
inline pid_t StartChild(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    int status = 99;
    try {
      status = body();
    } catch (...) {
      status = 98;
    }
    ::_exit(status);
  }
  return pid;
}

// The child's exit status, or -1 when it did not exit normally.
inline int WaitForChild(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// What a shell command wrote to its standard output, and its exit status (-1 when it did
// not exit normally or could not be started).
struct ShellRun {
  int exitCode = -1;
  std::string output;
};

inline ShellRun RunShell(const std::string& command) {
  ShellRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, got);
  const int status = ::pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace lumetra::platform
