#pragma once

namespace lumetra::platform {

// The threads a job of this process may use: $LUMETRA_THREADS when it is a whole number from
// 1 up (what --threads sets), else every core.
int ThreadsToUse();

}  // namespace lumetra::platform
