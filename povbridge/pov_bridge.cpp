#include "povbridge/pov_bridge.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <charconv>
#include <csignal>
#include <filesystem>
#include <ostream>
#include <span>

#include "abi/pov_blocks.h"
#include "platform/byte_reader.h"
#include "platform/message_loop.h"
#include "platform/shared_memory.h"
#include "platform/subprocess.h"
#include "platform/window_directory.h"
#include "povbridge/pov_picture.h"
#include "povbridge/pov_progress.h"

namespace lumetra::povbridge {
namespace {

// Set by SIGINT, SIGTERM and SIGHUP: Ctrl-C at the host's terminal reaches the bridge too.
volatile std::sig_atomic_t g_stopped = 0;

void OnStop(int) { g_stopped = 1; }

void CatchStopSignals() {
  struct sigaction action {};
  action.sa_handler = OnStop;
  sigemptyset(&action.sa_mask);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

constexpr int kPollMilliseconds = 20;
// How long POV-Ray may take to end on SIGTERM before it is killed.
constexpr int kGraceMilliseconds = 500;

std::string JoinLines(const std::deque<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
  return text;
}

bool ParseProcess(const std::string& text, int& process) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), process);
  return error == std::errc() && end == text.data() + text.size() && process > 0;
}

// One render, from the job's fields in the shared blocks to the copy-data message.
class BridgeRun {
 public:
  BridgeRun(const PovBridgeRequest& request, std::ostream& err) : request_(request), err_(err) {}

  int Run() {
    std::error_code error;
    control_ = platform::SharedMemory::Create(abi::pov::kControlName, abi::pov::kControlSize, error);
    if (!error)
      display_ = platform::SharedMemory::Create(abi::pov::kDisplayName, abi::pov::kDisplaySize, error);
    if (error || !display_.IsOpen()) return Fail("the POV-Ray blocks cannot be opened: " + error.message());
    window_ = control_.LoadU32(abi::pov::kWindowField);
    if (window_ == platform::kNoWindow) return Fail("no render window waits for POV-Ray");
    width_ = static_cast<int32_t>(control_.LoadU32(abi::pov::kWidthField));
    height_ = static_cast<int32_t>(control_.LoadU32(abi::pov::kHeightField));
    if (width_ <= 0 || height_ <= 0 ||
        static_cast<uint64_t>(width_) * static_cast<uint64_t>(height_) > abi::pov::kMaxPixels) {
      return Fail("a picture of " + std::to_string(width_) + " x " + std::to_string(height_) +
                  " pixels does not fit the POV-Ray display block");
    }
    const std::string picture = request_.folder + "/picture.png";
    if (!RunPovRay(picture)) return 1;
    const std::span<uint8_t> pixels(static_cast<uint8_t*>(display_.Data()) + abi::pov::kDisplayImageOffset,
                                    static_cast<size_t>(width_) * height_ * 4);
    const PovPictureCopy copy = CopyPovPicture(picture, pixels, width_, height_);
    if (!copy.Ok()) return Fail("POV-Ray's picture cannot be read: " + copy.error);
    display_.StoreU32(abi::pov::kPictureDueField, 0);
    TellRenderWindow(window_, abi::pov::kRenderEnded, {});
    return 0;
  }

 private:
  int Fail(const std::string& reason) {
    err_ << "lumetra-povbridge: " << reason << "\n";
    if (window_ != platform::kNoWindow) TellRenderWindow(window_, abi::pov::kRenderFailed, reason);
    return 1;
  }

  // The job is gone when its window closed (the control block names another one, or
  // none) or the host ended.
  bool JobGone() const {
    return control_.LoadU32(abi::pov::kWindowField) != window_ ||
           (request_.hostProcess > 0 && ::getppid() != request_.hostProcess);
  }

  bool RunPovRay(const std::string& picture) {
    std::vector<std::string> arguments{request_.povray};
    arguments.insert(arguments.end(), request_.povrayArguments.begin(), request_.povrayArguments.end());
    // The job's size wins over any the host asked for; no display, no pause, a PNG picture.
    for (const std::string& option :
         {"+W" + std::to_string(width_), "+H" + std::to_string(height_), std::string("-D"), std::string("-P"),
          std::string("+FN"), "+O" + picture}) {
      arguments.push_back(option);
    }
    std::string error;
    const auto povray = platform::Spawn(arguments,
                                        {.pipeOutput = true,
                                         .ownProcessGroup = true,
                                         .endWithParent = true,
                                         .workingDirectory = request_.folder},
                                        &error);
    if (!povray) {
      Fail(error);
      return false;
    }
    PovProgress progress;
    char buffer[4096];
    for (bool open = true; open;) {
      pollfd wait{povray->output, POLLIN, 0};
      const int ready = ::poll(&wait, 1, kPollMilliseconds);
      if (ready > 0) {
        const ssize_t got = ::read(povray->output, buffer, sizeof buffer);
        if (got > 0 && progress.Feed(std::string_view(buffer, static_cast<size_t>(got)))) {
          display_.StoreU32(abi::pov::kPercentField, static_cast<uint32_t>(*progress.Percent()));
        }
        open = got > 0 || (got < 0 && errno == EINTR);
      }
      if (g_stopped || JobGone()) {
        ::close(povray->output);
        platform::EndProcessGroup(povray->pid, kGraceMilliseconds);
        // A window that closed hears nothing; one whose blocks another render took must not
        // wait for a picture that will not come.
        Fail(g_stopped ? "interrupted; POV-Ray was stopped"
                       : "the render window closed or another POV-Ray render took the shared blocks; "
                         "POV-Ray was stopped");
        return false;
      }
    }
    ::close(povray->output);
    const int status = platform::WaitForExit(povray->pid);
    if (status == 0) return true;
    const std::string said = JoinLines(progress.LastLines());
    Fail("POV-Ray failed (" +
         (status < 0 ? std::string("ended by a signal") : "exit " + std::to_string(status)) + ")" +
         (said.empty() ? "" : ":\n" + said));
    return false;
  }

  const PovBridgeRequest& request_;
  std::ostream& err_;
  platform::SharedMemory control_;
  platform::SharedMemory display_;
  platform::WindowId window_ = platform::kNoWindow;
  int32_t width_ = 0;
  int32_t height_ = 0;
};

}  // namespace

void TellRenderWindow(platform::WindowId window, uint32_t code, const std::string& reason) {
  const auto head = platform::StoreBytes<4>(code, platform::ByteOrder::kLittle);
  std::vector<uint8_t> bytes(head.begin(), head.end());
  bytes.insert(bytes.end(), reason.begin(),
               reason.begin() + std::min(reason.size(), platform::window_directory::kMaxCopyDataBytes - 4));
  platform::window_directory::SendCopyData(window, platform::kNoWindow, 0, bytes);
}

int RunPovBridge(const PovBridgeRequest& request, std::ostream& err) {
  CatchStopSignals();
  const int status = BridgeRun(request, err).Run();
  std::error_code ignored;
  if (!request.folder.empty()) std::filesystem::remove_all(request.folder, ignored);
  return status;
}

std::vector<std::string> PovBridgeArguments(const PovBridgeRequest& request) {
  std::vector<std::string> arguments{
      "--host", std::to_string(request.hostProcess), "--folder", request.folder, "--povray", request.povray,
      "--"};
  arguments.insert(arguments.end(), request.povrayArguments.begin(), request.povrayArguments.end());
  return arguments;
}

bool ParsePovBridgeArguments(const std::vector<std::string>& arguments, PovBridgeRequest& request,
                             std::string& error) {
  size_t at = 0;
  for (; at < arguments.size() && arguments[at] != "--"; at += 2) {
    const std::string& name = arguments[at];
    if (at + 1 >= arguments.size()) {
      error = name + " needs a value";
      return false;
    }
    const std::string& value = arguments[at + 1];
    if (name == "--host") {
      if (!ParseProcess(value, request.hostProcess)) {
        error = "--host needs a process id, not '" + value + "'";
        return false;
      }
    } else if (name == "--folder") {
      // POV-Ray runs in the folder; the bridge reads the picture from where it started.
      std::error_code ignored;
      request.folder = value.empty() ? value : std::filesystem::absolute(value, ignored).string();
    } else if (name == "--povray") {
      request.povray = value;
    } else {
      error = "unknown option " + name;
      return false;
    }
  }
  if (at < arguments.size()) request.povrayArguments.assign(arguments.begin() + at + 1, arguments.end());
  if (request.folder.empty() || request.povrayArguments.empty()) {
    error = "usage: lumetra-povbridge --host PID --folder DIR [--povray PROGRAM] -- POVRAY-ARGUMENTS...";
    return false;
  }
  return true;
}

}  // namespace lumetra::povbridge
