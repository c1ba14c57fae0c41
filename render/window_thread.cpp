#include "render/window_thread.h"

#include <cstdio>
#include <exception>
#include <thread>

#include "platform/debug_log.h"
#include "platform/messages.h"

namespace render {

void JobWindowThread::Start(std::unique_ptr<JobWindowThread> thread) {
  thread->job_->hasWindowThread = true;
  std::thread([owned = std::move(thread)] { owned->Run(); }).detach();
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
  }
  loop.Run();
  End();
}

void JobWindowThread::StartWorker() {
  RenderJob& job = *job_;
  job.workerRunning = true;
  job.worker = std::thread([this, &job] {
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
  if (job.display.Ready()) job.display.Flush(job);  // the last pixels reach the desktop
  job.display.Close();
  if (job.State() != JobState::Zombie) jobs_.Remove(&job);
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
      std::snprintf(times, sizeof times, "%d, %d",
                    static_cast<int>(job.renderStartedAt - job.createdAt),
                    static_cast<int>(job.renderEndedAt - job.renderStartedAt));
      job.display.SetStatus(1, times);
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

}  // namespace render
