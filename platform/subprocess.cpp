#include "platform/subprocess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <thread>

namespace lumetra::platform {
namespace {

bool IsExecutableFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

void CloseBoth(int pipe[2]) {
  ::close(pipe[0]);
  ::close(pipe[1]);
}

// In the child between fork and exec only async-signal-safe calls are allowed: the
// parent may have other threads holding locks.
[[noreturn]] void ExecChild(const std::string& path, char* const argv[], const SpawnOptions& options,
                            int outputPipe[2], int reportPipe[2], pid_t parent) {
  if (options.endWithParent) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(127);  // the parent ended before the line above
  }
  if (options.ownProcessGroup) ::setpgid(0, 0);
  if (!options.workingDirectory.empty() && ::chdir(options.workingDirectory.c_str()) != 0) {
    const int failure = errno;
    [[maybe_unused]] const auto written = ::write(reportPipe[1], &failure, sizeof failure);
    ::_exit(127);
  }
  if (options.pipeOutput) {
    ::dup2(outputPipe[1], STDOUT_FILENO);
    ::dup2(outputPipe[1], STDERR_FILENO);
    CloseBoth(outputPipe);
  }
  ::close(reportPipe[0]);
  ::execv(path.c_str(), argv);
  const int failure = errno;
  [[maybe_unused]] const auto written = ::write(reportPipe[1], &failure, sizeof failure);
  ::_exit(127);
}

}  // namespace

std::string FindProgram(const std::string& name, const std::vector<std::string>& moreFolders) {
  if (name.empty()) return {};
  if (name.find('/') != std::string::npos) return IsExecutableFile(name) ? name : std::string();
  std::vector<std::string> folders;
  const char* path = std::getenv("PATH");
  std::string_view rest = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
  for (size_t colon = 0; colon != std::string_view::npos; rest.remove_prefix(colon + 1)) {
    colon = rest.find(':');
    const std::string_view dir = rest.substr(0, colon);
    folders.emplace_back(dir.empty() ? "." : dir);
    if (colon == std::string_view::npos) break;
  }
  folders.insert(folders.end(), moreFolders.begin(), moreFolders.end());
  for (const std::string& folder : folders) {
    const std::string candidate = folder + "/" + name;
    if (IsExecutableFile(candidate)) return candidate;
  }
  return {};
}

std::string ExecutableFolder() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : self.parent_path().string();
}

std::optional<Subprocess> Spawn(const std::vector<std::string>& arguments, const SpawnOptions& options,
                                std::string* error) {
  auto fail = [&](std::string text) -> std::optional<Subprocess> {
    if (error) *error = std::move(text);
    return std::nullopt;
  };
  if (arguments.empty()) return fail("no program given");
  const std::string path = FindProgram(arguments[0]);
  if (path.empty()) return fail("cannot find the program '" + arguments[0] + "'");

  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  int outputPipe[2] = {-1, -1};
  int reportPipe[2] = {-1, -1};
  if (options.pipeOutput && ::pipe2(outputPipe, O_CLOEXEC) != 0) return fail(std::strerror(errno));
  if (::pipe2(reportPipe, O_CLOEXEC) != 0) {
    const int failure = errno;
    if (options.pipeOutput) CloseBoth(outputPipe);
    return fail(std::strerror(failure));
  }
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid == 0) ExecChild(path, argv.data(), options, outputPipe, reportPipe, parent);
  const int forkFailure = errno;
  ::close(reportPipe[1]);
  if (options.pipeOutput) ::close(outputPipe[1]);
  if (pid < 0) {
    ::close(reportPipe[0]);
    if (options.pipeOutput) ::close(outputPipe[0]);
    return fail(std::string("cannot start '") + path + "': " + std::strerror(forkFailure));
  }
  // The report pipe closes on a successful exec; an errno arrives when exec failed.
  int execFailure = 0;
  ssize_t got = 0;
  do {
    got = ::read(reportPipe[0], &execFailure, sizeof execFailure);
  } while (got < 0 && errno == EINTR);
  ::close(reportPipe[0]);
  if (got == static_cast<ssize_t>(sizeof execFailure)) {
    WaitForExit(pid);
    if (options.pipeOutput) ::close(outputPipe[0]);
    return fail(std::string("cannot start '") + path + "': " + std::strerror(execFailure));
  }
  return Subprocess{pid, options.pipeOutput ? outputPipe[0] : -1};
}

ProgramResult RunProgram(const std::vector<std::string>& arguments) {
  ProgramResult result;
  const auto child = Spawn(arguments, {}, &result.error);
  if (!child) return result;
  result.started = true;
  result.exitCode = WaitForExit(child->pid);
  return result;
}

int WaitForExit(int pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void EndProcessGroup(int pid, int graceMilliseconds) {
  if (pid <= 0) return;
  ::kill(-pid, SIGTERM);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(graceMilliseconds);
  bool reaped = false;
  while (std::chrono::steady_clock::now() < deadline) {
    int status = 0;
    if (!reaped) reaped = ::waitpid(pid, &status, WNOHANG) == pid;
    if (reaped && ::kill(-pid, 0) != 0) return;  // nobody of the group is left
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ::kill(-pid, SIGKILL);
  if (!reaped) WaitForExit(pid);
}

}  // namespace lumetra::platform
