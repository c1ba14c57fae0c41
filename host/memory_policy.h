#pragma once

namespace lumetra::host {

// Makes the C library give large blocks back to the system as soon as they are freed. A render
// holds several large arrays in turn (the mesh as read, the plug-in's and the render library's
// copies, the render library's tree); glibc otherwise serves them from its heap after the first
// one is freed and keeps the heap's high-water mark, so a scene's peak was the sum of arrays that
// never lived at the same time. The host calls it first thing in main.
void ReturnLargeBlocksAtOnce();

}  // namespace lumetra::host
