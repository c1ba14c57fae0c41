#include "plugin/pov_route.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "abi/desktop_record.h"
#include "abi/result_codes.h"
#include "platform/debug_log.h"
#include "platform/window_directory.h"

namespace lumetra::plugin {
namespace {

constexpr auto kWaitStep = std::chrono::milliseconds(10);

// Shows the percentage POV-Ray reported: in the status bar, and as pixels done for
// whoever follows the job's progress.
void ShowPercent(render::RenderJob& job, int percent) {
  job.pixelsDone = static_cast<int32_t>(int64_t{job.width} * job.height * percent / 100);
  job.display.SetStatus(abi::kStatusPartElapsed, "POV-Ray " + std::to_string(percent) + "%");
  job.image.MarkAllChanged();
}

}  // namespace

bool PovBlocksTakenElsewhere(const PovSharedBlocks& blocks) {
  const platform::WindowId window = blocks.ControlField(abi::pov::kWindowField);
  if (window == platform::kNoWindow) return false;
  const int owner = platform::window_directory::OwnerProcess(window);
  // A window of a process that ended without clearing the field holds nothing.
  return owner > 0 && owner != ::getpid() && ::kill(owner, 0) == 0;
}

bool PreparePovJob(render::RenderJob& job, PovSharedBlocks& blocks) {
  if (!blocks.HasControl() || !blocks.HasDisplay()) return false;
  blocks.Prepare(job.width, job.height);
  return true;
}

void RenderWithPovRay(render::RenderJob& job, const abi::SceneRecord* host, PovSharedBlocks& blocks) {
  // Every frame of an animation waits for a picture of its own.
  blocks.Prepare(job.width, job.height);
  if (host == nullptr || !host->renderWithPovRay || host->renderWithPovRay(0) != abi::kOk) {
    platform::DebugLog::Write("The host could not start POV-Ray\n");
    job.abort = 1;
    return;
  }
  int shown = -1;
  const platform::WindowId window = job.display.Window();
  while (job.State() == render::JobState::Rendering && !job.Aborted()) {
    std::this_thread::sleep_for(kWaitStep);
    if (window != platform::kNoWindow && blocks.ControlField(abi::pov::kWindowField) != window) {
      platform::DebugLog::Write("Another POV-Ray render took the shared blocks\n");
      job.abort = 1;
      break;
    }
    const int percent =
        static_cast<int>(std::min<uint32_t>(blocks.DisplayField(abi::pov::kPercentField), 100));
    if (percent != shown) ShowPercent(job, shown = percent);
  }
  if (!job.Aborted()) ShowPercent(job, 100);
}

}  // namespace lumetra::plugin
