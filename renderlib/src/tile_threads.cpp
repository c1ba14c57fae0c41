#include "tile_threads.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <thread>

#if LUMETRA_TILE_THREADS_STD
#include <atomic>
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

// Every thread, the caller's included, takes the next index until none is left.
void forEachIndex(int count, int threads, const std::function<void(int)>& work) {
  std::atomic<int> next{0};
  auto worker = [&] {
    for (int i = next++; i < count; i = next++) work(i);
  };
  std::vector<std::jthread> helpers;
  for (int t = 1; t < std::min(threads, count); ++t) helpers.emplace_back(worker);
  worker();
}

#else

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
