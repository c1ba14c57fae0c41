#include "render/job_list.h"

#include <algorithm>
#include <chrono>

#include "platform/messages.h"

namespace lumetra::render {
namespace {

bool CanBeEnded(const RenderJob& job) {
  return job.hasWindowThread.load() && job.State() != JobState::Zombie;
}

}  // namespace

void JobList::Add(JobPtr job) {
  std::lock_guard lock(mutex_);
  jobs_.push_back(std::move(job));
}

void JobList::Remove(const RenderJob* job) {
  std::lock_guard lock(mutex_);
  std::erase_if(jobs_, [job](const JobPtr& listed) { return listed.get() == job; });
}

size_t JobList::Count() const {
  std::lock_guard lock(mutex_);
  return jobs_.size();
}

std::vector<JobList::JobPtr> JobList::Jobs() const {
  std::lock_guard lock(mutex_);
  return jobs_;
}

bool JobList::Any(const std::function<bool(const RenderJob&)>& test) const {
  std::lock_guard lock(mutex_);
  return std::any_of(jobs_.begin(), jobs_.end(), [&](const JobPtr& job) { return test(*job); });
}

void JobList::Abort(const JobPtr& job) {
  if (!CanBeEnded(*job)) {
    platform::Messages::Show("Error", "Can't abort: '" + job->DisplayName() + "'",
                             platform::MessageButtons::Ok, platform::MessageIcon::Error);
    return;
  }
  job->display.PostQuit();
  if (!job->WaitForWindowThread(kAbortWaitMilliseconds)) {
    platform::Messages::Show("Error", "Abort request abandoned for: '" + job->DisplayName() + "'",
                             platform::MessageButtons::Ok, platform::MessageIcon::Error);
  }
}

void JobList::AbortAll() {
  std::vector<JobPtr> ending;
  for (const JobPtr& job : Jobs()) {
    if (CanBeEnded(*job) && job->display.PostQuit()) ending.push_back(job);
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kAbortWaitMilliseconds);
  for (const JobPtr& job : ending) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    job->WaitForWindowThread(static_cast<int>(std::max<int64_t>(left.count(), 0)));
  }
}

}  // namespace lumetra::render
