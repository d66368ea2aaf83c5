#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "t2gpack/T2GArchive.h"

namespace t2g {

// True when an entry name can be written as a file inside the target folder: no path
// separators, not "." or "..". Archive names come from untrusted files.
bool IsSafeFileName(const std::string& name);

// Writes every entry's data (exactly its data size) to `dir`/name. Throws tools::ToolError for
// an unsafe name or a failed write. Returns the number of files written.
size_t ExtractArchive(std::span<const uint8_t> archive, const ArchiveInfo& info,
                      const std::string& dir, const std::string& archiveName);

// One line per entry: data size, stored size and name, aligned for reading.
std::string FormatListing(const ArchiveInfo& info);

}  // namespace t2g
