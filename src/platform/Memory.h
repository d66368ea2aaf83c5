#pragma once

namespace platform {

// Keeps freed memory in the process instead of returning it to the system at once. Screens
// decode and free megabytes of pixels at every change; handing those pages back and faulting
// them in again cost several times the decoding itself. Called once at start-up.
void TuneMemoryAllocator();

}  // namespace platform
