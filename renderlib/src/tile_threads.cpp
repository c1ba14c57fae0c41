#include "tile_threads.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <thread>

#if LUMETRA_TILE_THREADS_STD
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>
#else
#include <tbb/parallel_for.h>
#include <tbb/task_arena.h>
#endif

namespace lumetra::renderlib {

int renderThreadCount() {
  if (const char* text = std::getenv("LUMETRA_THREADS")) {
    int count = 0;
    const char* end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, count);
    if (error == std::errc() && stop == end && count > 0) return count;
  }
  return std::max(1, int(std::thread::hardware_concurrency()));
}

#if LUMETRA_TILE_THREADS_STD

namespace {

// Threads kept for the life of the process, as oneTBB keeps its workers; it grows to the most
// threads a render has asked for. Renders of several scenes at once share it: each hands in a
// batch that up to its thread count less one helpers join, while the caller works on it too.
class ThreadPool {
 public:
  ~ThreadPool() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
  }

  void run(int count, int threads, const std::function<void(int)>& work) {
    Batch batch{&work, count, std::min(threads, count) - 1};
    {
      std::lock_guard lock(mutex_);
      while (int(helpers_.size()) < batch.wanted) helpers_.emplace_back([this] { help(); });
      if (batch.wanted > 0) open_.push_back(&batch);
    }
    wake_.notify_all();
    batch.work_through();
    std::unique_lock lock(mutex_);
    std::erase(open_, &batch);  // no helper joins it from now on
    batch.finished.wait(lock, [&] { return batch.working == 0; });
  }

 private:
  struct Batch {
    const std::function<void(int)>* work;
    int count;
    int wanted;  // helpers still to join
    int working = 0;
    std::atomic<int> next{0};
    std::condition_variable finished;

    void work_through() {
      for (int i = next++; i < count; i = next++) (*work)(i);
    }
  };

  void help() {
    std::unique_lock lock(mutex_);
    while (true) {
      wake_.wait(lock, [&] { return stopping_ || !open_.empty(); });
      if (stopping_) return;
      Batch& batch = *open_.front();
      if (--batch.wanted == 0) open_.erase(open_.begin());
      ++batch.working;
      lock.unlock();
      batch.work_through();
      lock.lock();
      if (--batch.working == 0) batch.finished.notify_all();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<Batch*> open_;  // batches that want more helpers
  bool stopping_ = false;
  std::vector<std::jthread> helpers_;  // last: joined first, after stopping_ is set
};

}  // namespace

const char* embreeDeviceConfig() { return "threads=1"; }

void forEachIndex(int count, int threads, const std::function<void(int)>& work) {
  static ThreadPool pool;
  pool.run(count, threads, work);
}

#else

const char* embreeDeviceConfig() { return nullptr; }

void forEachIndex(int count, int threads, const std::function<void(int)>& work) {
  // The arena holds this render to `threads`; a caller's global oneTBB limit may hold it lower.
  tbb::task_arena arena(threads);
  arena.execute([&] {
    tbb::parallel_for(tbb::blocked_range<int>(0, count, 1), [&](const tbb::blocked_range<int>& range) {
      for (int i = range.begin(); i < range.end(); ++i) work(i);
    });
  });
}

#endif

}  // namespace lumetra::renderlib
