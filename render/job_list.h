#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "render/render_job.h"

namespace lumetra::render {

// The jobs that exist, in the order they were made. The list owns them; a job's window
// thread takes it off when it ends (a "Zombie" stays).
class JobList {
 public:
  using JobPtr = std::shared_ptr<RenderJob>;
  static constexpr int kAbortWaitMilliseconds = 5000;

  void Add(JobPtr job);
  void Remove(const RenderJob* job);
  size_t Count() const;
  std::vector<JobPtr> Jobs() const;
  bool Any(const std::function<bool(const RenderJob&)>& test) const;

  // Ends a job through its render window and waits up to five seconds for its window
  // thread; a job that cannot be ended that way is reported.
  void Abort(const JobPtr& job);
  // Ends every job that has a window thread and waits up to five seconds for them all.
  void AbortAll();

 private:
  mutable std::mutex mutex_;
  std::vector<JobPtr> jobs_;
};

}  // namespace lumetra::render
