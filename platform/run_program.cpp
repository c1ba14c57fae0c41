#include "platform/run_program.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

namespace lumetra::platform {

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments) {
  ProgramResult result;
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  if (argv.empty()) argv.push_back(const_cast<char*>(program.c_str()));
  argv.push_back(nullptr);
  // The exec failure travels back through a pipe closed on exec, so "could not run" and
  // "ran and failed" stay apart.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) {
    result.error = std::string("cannot make a pipe: ") + std::strerror(errno);
    return result;
  }
  const pid_t child = fork();
  if (child < 0) {
    result.error = std::string("cannot start a process: ") + std::strerror(errno);
    close(report[0]);
    close(report[1]);
    return result;
  }
  if (child == 0) {
    close(report[0]);
    execv(program.c_str(), argv.data());
    const int failure = errno;
    [[maybe_unused]] const ssize_t written = write(report[1], &failure, sizeof failure);
    _exit(127);
  }
  close(report[1]);
  int failure = 0;
  ssize_t got;
  do {
    got = read(report[0], &failure, sizeof failure);
  } while (got < 0 && errno == EINTR);
  close(report[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {}
  if (got == sizeof failure) {
    result.error = "cannot run " + program + ": " + std::strerror(failure);
    return result;
  }
  result.started = true;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::optional<std::string> FindProgram(const std::string& name, const std::vector<std::string>& moreFolders) {
  namespace fs = std::filesystem;
  const auto runnable = [](const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error) && access(path.c_str(), X_OK) == 0;
  };
  if (name.empty()) return std::nullopt;
  if (name.find('/') != std::string::npos) return runnable(name) ? std::optional(name) : std::nullopt;
  std::vector<std::string> folders;
  if (const char* path = std::getenv("PATH")) {
    std::istringstream list(path);
    for (std::string folder; std::getline(list, folder, ':');)
      folders.push_back(folder.empty() ? "." : folder);
  }
  folders.insert(folders.end(), moreFolders.begin(), moreFolders.end());
  for (const std::string& folder : folders) {
    const fs::path candidate = fs::path(folder) / name;
    if (runnable(candidate)) return candidate.string();
  }
  return std::nullopt;
}

std::string ExecutableFolder() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : self.parent_path().string();
}

}  // namespace lumetra::platform
