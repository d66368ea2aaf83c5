#include "t2gpack/Extract.h"

#include <cstdio>
#include <filesystem>

#include "common/FileIO.h"
#include "common/ToolError.h"

namespace t2g {

bool IsSafeFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find('/') == std::string::npos && name.find('\\') == std::string::npos &&
           name.find(':') == std::string::npos;
}

size_t ExtractArchive(std::span<const uint8_t> archive, const ArchiveInfo& info,
                      const std::string& dir, const std::string& archiveName) {
    size_t written = 0;
    for (const auto& e : info.entries) {
        if (!IsSafeFileName(e.name)) {
            throw tools::ToolError(archiveName, 0,
                                   "entry name '" + e.name + "' cannot be used as a file name");
        }
        tools::WriteBytes(std::filesystem::path(dir) / e.name,
                          archive.subspan(e.dataOffset, e.dataSize));
        ++written;
    }
    return written;
}

std::string FormatListing(const ArchiveInfo& info) {
    std::string out;
    char line[128];
    std::snprintf(line, sizeof line, "%s form, %zu entries\n", info.longForm ? "long" : "short",
                  info.entries.size());
    out += line;
    for (const auto& e : info.entries) {
        std::snprintf(line, sizeof line, "%10u %10u  ", e.dataSize, e.storedSize);
        out += line;
        out += e.name;
        out += '\n';
    }
    return out;
}

}  // namespace t2g
