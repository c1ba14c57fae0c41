// The sanitizers' settings for the command tests, which render through the plug-in in their
// own process: the render library's oneTBB workers may still be leaving when LeakSanitizer
// stops the process's threads at exit, which now and then crashes its tracer, so the leak
// check is left to the other test executables.
#include <cstdlib>

extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

namespace {

// The commands a test starts as programs of their own (lumetra, lumetra-tool) render the same
// way and unload the plug-in at exit, so they inherit the same setting.
[[maybe_unused]] const bool kChildrenLikewise = setenv("ASAN_OPTIONS", "detect_leaks=0", 0) == 0;

}  // namespace
