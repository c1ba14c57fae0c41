// The threads a render's tiles run on: oneTBB's, or a plain std::thread pool in builds that
// ThreadSanitizer must see through (LUMETRA_TILE_THREADS=std).
#pragma once

#include <functional>

namespace lumetra::renderlib {

// The threads one render uses: $LUMETRA_THREADS when it is a whole number from 1 up, else
// every core. Read at every render, so a caller may change it between renders.
int renderThreadCount();

// Runs work(0) .. work(count - 1) on at most `threads` threads and returns when all are done.
// Which thread runs which index is left open: work must not depend on it.
void forEachIndex(int count, int threads, const std::function<void(int)>& work);

// The configuration Embree's device is made with. With std::thread tiles Embree builds its
// hierarchies on the calling thread instead of oneTBB workers of its own, so that no thread of a
// render does work whose hand-overs ThreadSanitizer cannot see.
const char* embreeDeviceConfig();

}  // namespace lumetra::renderlib
