// The file operations a save needs to survive a crash or a power cut at any moment.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace platform {

// Creates or empties `path`, writes `data` and flushes it to the disk before returning. False
// on any failure; a partial file may then remain.
bool WriteAndFlush(const std::string& path, std::span<const uint8_t> data);
// Puts `from` in the place of `to` in one step (a reader sees the old or the new file, never
// neither) and makes the change itself durable. False on failure, `to` then unchanged.
bool RenameOver(const std::string& from, const std::string& to);
// Removes a file; false when it cannot.
bool RemoveFile(const std::string& path);

}  // namespace platform
