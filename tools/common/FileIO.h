#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace tools {

// Whole file as bytes; throws ToolError naming the path when it cannot be read.
std::vector<uint8_t> ReadBytes(const std::filesystem::path& path);
// Whole file as text (no decoding); throws like ReadBytes.
std::string ReadText(const std::filesystem::path& path);
// Writes the bytes through a temporary file renamed into place, so an interrupted run never
// leaves a truncated output that a later incremental build would take as up to date.
// Creates missing parent folders. Throws ToolError on failure.
void WriteBytes(const std::filesystem::path& path, std::span<const uint8_t> data);
// Text variant of WriteBytes.
void WriteText(const std::filesystem::path& path, const std::string& text);

}  // namespace tools
