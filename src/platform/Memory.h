#pragma once

namespace platform {

// Returns freed pixel memory to the system at once: screens decode and free megabytes of
// pixels at every change, and a heap that kept them stayed at the high-water mark of the
// busiest screen for the rest of the run. Faulting those pages in again costs a little at
// each screen change. Called once at start-up.
void TuneMemoryAllocator();

// The process's resident size in KiB, or 0 where it cannot be read.
long ResidentKiB();
// What the program has allocated and not yet freed, in KiB: the measure a leak raises.
long HeapInUseKiB();

}  // namespace platform
