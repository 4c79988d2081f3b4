// The one routine through which the platform's load and unload events reach the tables.
#pragma once

#include <cstdint>

namespace kx {

// The loader's reasons, with the values of the Windows notifications.
enum class LoaderReason : std::uint32_t {
    ProcessDetach = 0,
    ProcessAttach = 1,
    ThreadAttach = 2,
    ThreadDetach = 3,
};

// Process attach builds the tables, process detach clears them, thread notifications do
// nothing. Returns false only when the tables could not be built for lack of memory; the
// tables are then left empty, and a loader that can refuse the load should.
bool handleLoaderNotification(std::uint32_t reason);

}  // namespace kx
