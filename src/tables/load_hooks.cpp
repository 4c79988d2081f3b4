// The platform hooks that deliver load and unload to handleLoaderNotification: DllMain on
// Windows, an ELF constructor and destructor elsewhere. They live in the shared library
// alone, so the unit tests drive the notifications themselves.
#include <cstdint>

#include "tables/loader_notification.h"

#if defined(_WIN32)

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE /*module*/, DWORD reason, LPVOID /*reserved*/) {
    return kx::handleLoaderNotification(static_cast<std::uint32_t>(reason)) ? TRUE : FALSE;
}

#else

namespace {

// The loader of an ELF system cannot be told that a load failed; a library whose tables
// could not be built answers every line from empty tables instead.
__attribute__((constructor)) void onProcessAttach() {
    kx::handleLoaderNotification(static_cast<std::uint32_t>(kx::LoaderReason::ProcessAttach));
}

__attribute__((destructor)) void onProcessDetach() {
    kx::handleLoaderNotification(static_cast<std::uint32_t>(kx::LoaderReason::ProcessDetach));
}

}  // namespace

#endif
