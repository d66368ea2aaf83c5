#pragma once

#include <cstdint>
#include <string>

// A seeded random input script for stonewell-headless: clicks, holds, drags, wheel turns,
// right and double clicks, Enter, and the window's close request answered no. Every message
// box is answered no, so nothing the monkey does may end the program. The same seed always
// gives the same script.
namespace monkey {

struct Options {
    uint64_t seed = 1;
    // The script's wait commands add up to at least this much virtual time.
    uint64_t virtualMs = 3600000;
};

std::string GenerateScript(const Options& options);

}  // namespace monkey
