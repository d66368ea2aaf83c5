#include "t2gpack/PackInputs.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "common/FileIO.h"
#include "common/ToolError.h"

namespace fs = std::filesystem;

namespace t2g {
namespace {

// A comment runs from a '#' at the start of the line or after a space to the line's end
// ('#' inside a word is text, as in "F#4").
void StripComment(std::string& line) {
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) {
            line.resize(i);
            return;
        }
    }
}

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return "";
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

PackEntry LoadFile(const fs::path& path, const std::string& name, const std::string& originFile,
                   int originLine) {
    PackEntry e;
    e.name = name;
    e.originFile = originFile;
    e.originLine = originLine;
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        throw tools::ToolError(originFile, originLine, "no such file: " + path.string());
    }
    try {
        e.data = tools::ReadBytes(path);
    } catch (const tools::ToolError&) {
        throw tools::ToolError(originFile, originLine, "cannot read " + path.string());
    }
    return e;
}

void AddFolder(const fs::path& dir, const std::string& originFile, int originLine,
               std::vector<PackEntry>& out) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& item : fs::directory_iterator(dir, ec)) {
        auto name = item.path().filename().string();
        if (name.empty() || name[0] == '.' || !item.is_regular_file()) continue;
        files.push_back(item.path());
    }
    if (ec) throw tools::ToolError(originFile, originLine, "cannot list folder " + dir.string());
    std::sort(files.begin(), files.end());
    for (const auto& f : files) {
        out.push_back(LoadFile(f, f.filename().string(), f.string(), 0));
    }
}

// One "PATH" or "NAME=PATH" reference, resolved against `baseDir`.
void AddReference(const std::string& text, const fs::path& baseDir, const std::string& originFile,
                  int originLine, std::vector<PackEntry>& out) {
    std::string name, path = text;
    if (auto eq = text.find('='); eq != std::string::npos) {
        name = Trim(text.substr(0, eq));
        path = Trim(text.substr(eq + 1));
        if (name.empty()) throw tools::ToolError(originFile, originLine, "missing name before '='");
        if (path.empty()) throw tools::ToolError(originFile, originLine, "missing path after '='");
    }
    fs::path full = fs::path(path).is_absolute() ? fs::path(path) : baseDir / path;
    std::error_code ec;
    if (name.empty() && fs::is_directory(full, ec)) {
        AddFolder(full, originFile, originLine, out);
    } else if (name.empty() && full.extension() == ".pack") {
        // Manifests may include manifests; a cycle would otherwise recurse without end.
        static thread_local int depth = 0;
        if (depth >= 16) {
            throw tools::ToolError(originFile, originLine,
                                   "manifests nested too deeply (a cycle?)");
        }
        ++depth;
        std::vector<PackEntry> nested;
        try {
            nested = ReadManifest(full.string());
        } catch (...) {
            --depth;
            throw;
        }
        --depth;
        out.insert(out.end(), std::make_move_iterator(nested.begin()),
                   std::make_move_iterator(nested.end()));
    } else {
        if (name.empty()) name = full.filename().string();
        out.push_back(LoadFile(full, name, originFile, originLine));
    }
}

}  // namespace

std::vector<PackEntry> ParseManifest(const std::string& text, const std::string& manifestName,
                                     const std::string& baseDir) {
    std::vector<PackEntry> out;
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        StripComment(line);
        line = Trim(line);
        if (line.empty()) continue;
        AddReference(line, baseDir, manifestName, lineNo, out);
    }
    return out;
}

std::vector<PackEntry> ReadManifest(const std::string& manifestPath) {
    std::string text = tools::ReadText(manifestPath);
    return ParseManifest(text, manifestPath, fs::path(manifestPath).parent_path().string());
}

std::vector<PackEntry> CollectInputs(const std::vector<std::string>& inputs) {
    std::vector<PackEntry> out;
    for (const auto& input : inputs) {
        AddReference(input, fs::path(), input, 0, out);
    }
    return out;
}

}  // namespace t2g
