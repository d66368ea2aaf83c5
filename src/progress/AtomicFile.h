#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace atomicfile {

// Runs after the temporary file is written and synced, before it is renamed over the target.
// Returning false abandons the write at that point, leaving the temporary file behind exactly
// as a crash there would (tests use it to check that the old file survives).
using BeforeCommit = std::function<bool(const std::string& tempPath)>;

// Replaces `path` with `data` so that a reader sees either the old or the new content, never
// a mix: the bytes go to a temporary file in the same directory, are flushed to the disk and
// the file is renamed over the target. The directory must exist. False on any failure (the
// old file is then unchanged); never throws.
bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> data,
                         const BeforeCommit& beforeCommit = {});

// The temporary name used for `path`.
std::string TempPathFor(const std::string& path);

}  // namespace atomicfile
