#pragma once

#include <memory>
#include <string>

#include "render/job_backend.h"
#include "render/job_list.h"
#include "render/render_job.h"

namespace lumetra::render {

// The names the job threads carry (at most 15 characters, the system's limit).
inline constexpr char kWindowThreadName[] = "lumetra-window";
inline constexpr char kWorkerThreadName[] = "lumetra-render";

// The thread that owns a job's render window: it opens the display, starts the worker,
// runs the window's message loop until a quit and then ends the job. The still and the
// animation threads differ in their worker and their messages.
class JobWindowThread {
 public:
  JobWindowThread(std::shared_ptr<RenderJob> job, JobList& jobs, JobBackend& backend)
      : job_(std::move(job)), jobs_(jobs), backend_(backend) {}
  virtual ~JobWindowThread() = default;

  // Runs `thread` on a thread of its own, which owns it from then on.
  static void Start(std::unique_ptr<JobWindowThread> thread);
  // Joins every window thread whose job has ended or ends within `waitMilliseconds`, so that
  // no thread is left running the module's code when it unloads: a thread whose window has
  // closed may still be winding down. Threads still running after the wait stay. The first
  // call makes the registry of window threads: an object that joins through it while being
  // destroyed calls this before its own construction completes, so the registry outlives it.
  static void JoinEnded(int waitMilliseconds = 0);

 protected:
  // "Failed to create render job" or its animation twin.
  virtual std::string OpenFailedText() const = 0;
  virtual std::string TerminateFailedText() const = 0;
  // Whether the worker may start; false posts a quit and ends the thread.
  virtual bool MayStart() { return true; }
  virtual void Work() = 0;

  RenderJob& Job() { return *job_; }
  JobList& Jobs() { return jobs_; }
  JobBackend& Backend() { return backend_; }

 private:
  void Run();
  void StartWorker();
  void End();

  std::shared_ptr<RenderJob> job_;
  JobList& jobs_;
  JobBackend& backend_;
};

// The window thread of a still render.
class CRenderThread : public JobWindowThread {
 public:
  using JobWindowThread::JobWindowThread;

 protected:
  std::string OpenFailedText() const override { return "Failed to create render job"; }
  std::string TerminateFailedText() const override { return "Failed to terminate render thread"; }
  void Work() override;
};

}  // namespace lumetra::render
