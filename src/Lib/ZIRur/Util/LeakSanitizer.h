#pragma once

// STONEWELL_LEAK_SANITIZER is defined in builds with AddressSanitizer, whose LeakSanitizer
// checks every program at its exit.
#if defined(__SANITIZE_ADDRESS__)  // gcc
#define STONEWELL_LEAK_SANITIZER 1
#elif defined(__has_feature)  // clang
#if __has_feature(address_sanitizer)
#define STONEWELL_LEAK_SANITIZER 1
#endif
#endif

// Gives LeakSanitizer its built-in suppressions, "leak:LIBRARY\n" lines naming system
// libraries that keep memory for the life of the process by design. Once per program, in a
// source file the program always links; nothing in other builds.
#ifdef STONEWELL_LEAK_SANITIZER
#define STONEWELL_LEAK_SUPPRESSIONS(lines)                 \
    extern "C" const char* __lsan_default_suppressions() { \
        return lines;                                      \
    }
#else
#define STONEWELL_LEAK_SUPPRESSIONS(lines)
#endif
