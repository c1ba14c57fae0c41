#include "render/window_thread.h"

#include <pthread.h>

#include <cstdio>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "abi/desktop_record.h"
#include "platform/debug_log.h"
#include "platform/messages.h"

namespace lumetra::render {
namespace {

// Names the calling thread, so that debuggers, `top -H` and the tests can tell the job threads.
void NameThisThread(const char* name) {
  if (pthread_setname_np(pthread_self(), name) != 0)
    platform::DebugLog::Printf("Cannot name thread %s\n", name);
}

// The window threads of the process with their jobs. A thread is joined once its job
// ended; one still running when the registry goes is let go. A module that joins through
// the registry while it unloads must have made it first (see JoinEnded).
class WindowThreads {
 public:
  static WindowThreads& Instance() {
    static WindowThreads threads;
    return threads;
  }
  ~WindowThreads() {
    for (auto& [thread, job] : threads_) thread.detach();
  }
  void Add(std::thread thread, std::shared_ptr<RenderJob> job) {
    std::lock_guard lock(mutex_);
    threads_.emplace_back(std::move(thread), std::move(job));
  }
  void JoinEnded(int waitMilliseconds) {
    std::vector<Entry> taken;
    {
      std::lock_guard lock(mutex_);
      taken.swap(threads_);
    }
    // The wait runs outside the lock: a thread that is ending may start another.
    std::vector<Entry> running;
    for (auto& entry : taken) {
      if (entry.second->WaitForWindowThread(waitMilliseconds)) {
        entry.first.join();
      } else {
        running.push_back(std::move(entry));
      }
    }
    std::lock_guard lock(mutex_);
    for (auto& entry : running) threads_.push_back(std::move(entry));
  }

 private:
  using Entry = std::pair<std::thread, std::shared_ptr<RenderJob>>;
  std::mutex mutex_;
  std::vector<Entry> threads_;
};

}  // namespace

void JobWindowThread::Start(std::unique_ptr<JobWindowThread> thread) {
  WindowThreads::Instance().JoinEnded(0);
  std::shared_ptr<RenderJob> job = thread->job_;
  job->hasWindowThread = true;
  WindowThreads::Instance().Add(std::thread([owned = std::move(thread)] {
                                  NameThisThread(kWindowThreadName);
                                  owned->Run();
                                }),
                                std::move(job));
}

void JobWindowThread::JoinEnded(int waitMilliseconds) {
  WindowThreads::Instance().JoinEnded(waitMilliseconds);
}

void JobWindowThread::Run() {
  RenderJob& job = *job_;
  platform::MessageLoop loop;
  if (!job.display.Open(job, loop, backend_.SharedPixels(job))) {
    platform::Messages::Show("Error", OpenFailedText(), platform::MessageButtons::Ok,
                             platform::MessageIcon::Stop);
    End();
    return;
  }
  backend_.PrepareFrame(job);
  if (job.kind == RendererKind::PovRay) backend_.SetPovWindow(job, job.display.Window());
  if (!MayStart()) {
    job.display.PostQuit();
  } else {
    StartWorker();
    job.display.StartRepaintTimer();
    if (job.showWindow) job.display.Show();
  }
  loop.Run();
  End();
}

void JobWindowThread::StartWorker() {
  RenderJob& job = *job_;
  job.workerRunning = true;
  job.worker = std::thread([this, &job] {
    NameThisThread(kWorkerThreadName);
    try {
      Work();
      job.workerRunning = false;
    } catch (const std::exception& error) {
      // A worker that failed did not finish its job: it stays recorded as running, so
      // the job ends as a "Zombie" that the user sees in the job list.
      platform::DebugLog::Printf("Render worker failed: %s\n", error.what());
      job.abort = 1;
      job.display.PostQuit();
    }
  });
}

void JobWindowThread::End() {
  RenderJob& job = *job_;
  job.SetState(JobState::Terminating);
  if (job.kind == RendererKind::PovRay) backend_.SetPovWindow(job, platform::kNoWindow);
  if (job.worker.joinable()) {
    job.abort = 1;
    job.terminate = 1;
    job.worker.join();
    // The render step may have marked itself complete while being stopped.
    job.SetState(JobState::Terminating);
  }
  if (job.workerRunning.load()) {
    job.SetState(JobState::Zombie);
    platform::Messages::Show("Internal Error", TerminateFailedText(), platform::MessageButtons::Ok,
                             platform::MessageIcon::Stop);
  }
  // A job whose worker never ran (its display did not open) still holds its scene and
  // perhaps the host's preview.
  if (job.State() != JobState::Zombie) {
    if (job.scene != 0) backend_.FreeScene(job);
    backend_.ReleasePreview(job);
  }
  if (job.display.Ready()) job.display.Flush(job);  // the last pixels reach the desktop
  // Off the list before the window goes: whoever starts the next job when this window
  // closes must not find this one still claiming its output name.
  if (job.State() != JobState::Zombie) jobs_.Remove(&job);
  job.display.Close();
  job.MarkWindowThreadEnded();
}

void CRenderThread::Work() {
  RenderJob& job = Job();
  job.renderStartedAt = NowSeconds();
  job.display.SetTitle(job.DisplayName());
  if (Backend().Render(job)) {
    if (job.showWindow) {
      job.renderEndedAt = NowSeconds();
      char times[32];
      std::snprintf(times, sizeof times, "%d, %d", static_cast<int>(job.renderStartedAt - job.createdAt),
                    static_cast<int>(job.renderEndedAt - job.renderStartedAt));
      job.display.SetStatus(abi::kStatusPartElapsed, times);
    }
    if (!job.Aborted() && !Backend().WriteOutput(job)) {
      platform::DebugLog::Printf("Failed to write %s\n", job.outputPath.c_str());
    }
  }
  Backend().FreeScene(job);
  if (!job.showWindow) job.display.PostQuit();
  Backend().ReleasePreview(job);
  job.abort = 1;  // the job is finished
}

}  // namespace lumetra::render
