#include "render/render_job.h"

#include <chrono>

namespace lumetra::render {

double NowSeconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

std::string RenderJob::DisplayName() const {
  const size_t slash = outputPath.find_last_of("\\/");
  return slash == std::string::npos ? outputPath : outputPath.substr(slash + 1);
}

void RenderJob::MarkWindowThreadEnded() {
  {
    std::lock_guard lock(endedMutex_);
    windowThreadEnded_ = true;
  }
  endedSignal_.notify_all();
}

bool RenderJob::WaitForWindowThread(int milliseconds) {
  std::unique_lock lock(endedMutex_);
  return endedSignal_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                               [this] { return windowThreadEnded_; });
}

}  // namespace lumetra::render
