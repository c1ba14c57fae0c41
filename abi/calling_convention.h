#pragma once

// Entry points that cross the host/plug-in boundary through records are stdcall on
// i386 (the callee removes the arguments); every other target has one convention.
#if defined(__i386__)
#define LUMETRA_STDCALL __attribute__((stdcall))
#else
#define LUMETRA_STDCALL
#endif

#define LUMETRA_EXPORT extern "C" __attribute__((visibility("default")))
