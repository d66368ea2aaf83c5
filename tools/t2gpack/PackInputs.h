#pragma once

#include <string>
#include <vector>

#include "t2gpack/T2GArchive.h"

namespace t2g {

// Turns command-line inputs into entries, in the order given:
//  - "NAME=PATH": the file at PATH stored under NAME;
//  - a folder: its regular files in byte order of their names, each under its own name
//    (sub-folders and names starting with '.' are skipped);
//  - a file ending in ".pack": a manifest (see ReadManifest);
//  - any other file: stored under its own file name.
// Throws tools::ToolError for unreadable inputs.
std::vector<PackEntry> CollectInputs(const std::vector<std::string>& inputs);

// Reads a manifest: one entry per line, "PATH" or "NAME = PATH", where PATH is relative to the
// manifest's folder and may name a folder (packed as above); '#' starts a comment; blank lines
// are ignored. Faults are reported as "manifest:line: message".
std::vector<PackEntry> ReadManifest(const std::string& manifestPath);

// Same as ReadManifest for text already in memory; `baseDir` resolves relative paths.
std::vector<PackEntry> ParseManifest(const std::string& text, const std::string& manifestName,
                                     const std::string& baseDir);

}  // namespace t2g
