#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace lumetra::platform {

using WindowId = std::uint32_t;
class MessageLoop;

// The windows of all processes by id, as window handles are on Windows: an id names one
// window on the whole machine, and a copy-data message sent to a window of another
// process arrives in that window's loop as WM_COPYDATA.
//
// Ids come in blocks of kWindowsPerBlock from a counter in the shared block
// "LumetraWindows", which also records the process of each block. Every process that
// has windows listens on a datagram socket in the abstract namespace named after its
// process id; a message from a process of another user is dropped.
namespace window_directory {

inline constexpr std::uint32_t kWindowsPerBlock = 4096;
inline constexpr std::uint32_t kBlockCount = 1u << 20;
// The most bytes one copy-data message carries between processes.
inline constexpr std::size_t kMaxCopyDataBytes = 64 * 1024;

// A new window id of this process, never 0.
WindowId AllocateId();
// Makes `window` reachable through `loop`, from this process and from others.
void Register(WindowId window, MessageLoop& loop);
// After this returns, nothing is delivered to `window` any more.
void Unregister(WindowId window);

// The abstract socket address (a leading NUL byte) the process listens on.
std::string SocketName(int process);

// The process that made `window`, or 0 when no process is known for it.
int OwnerProcess(WindowId window);

// Queues WM_COPYDATA with `sender`, `kind` and a copy of `bytes` for `window`, in this
// process or another one; like PostMessage it does not wait for the handling. False when
// the window is unknown here, no process listens for it, or the bytes are too many.
bool SendCopyData(WindowId window, WindowId sender, std::uintptr_t kind, std::span<const std::uint8_t> bytes);

}  // namespace window_directory
}  // namespace lumetra::platform
