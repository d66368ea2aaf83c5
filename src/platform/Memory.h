#pragma once

namespace platform {

// Keeps freed memory in the process instead of returning it to the system at once. Screens
// decode and free megabytes of pixels at every change; handing those pages back and faulting
// them in again cost several times the decoding itself. Called once at start-up.
void TuneMemoryAllocator();

// The process's resident size in KiB, or 0 where it cannot be read. With the tuning above it
// follows the heap's high-water mark rather than what is in use.
long ResidentKiB();
// What the program has allocated and not yet freed, in KiB: the measure a leak raises.
long HeapInUseKiB();

}  // namespace platform
