#include "common/FileIO.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "common/ToolError.h"

namespace tools {

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ToolError(path.string(), 0, "cannot open file for reading");
    std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    if (in.bad()) throw ToolError(path.string(), 0, "read error");
    return data;
}

std::string ReadText(const std::filesystem::path& path) {
    auto data = ReadBytes(path);
    return std::string(data.begin(), data.end());
}

void WriteBytes(const std::filesystem::path& path, std::span<const uint8_t> data) {
    std::error_code ec;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
    if (ec) throw ToolError(path.string(), 0, "cannot create folder: " + ec.message());
    std::filesystem::path temp = path;
    temp += ".part";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) throw ToolError(path.string(), 0, "cannot open file for writing");
        out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
        out.flush();
        if (!out) {
            out.close();
            std::filesystem::remove(temp, ec);
            throw ToolError(path.string(), 0, "write error");
        }
    }
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        throw ToolError(path.string(), 0, "cannot replace file");
    }
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
    WriteBytes(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

}  // namespace tools
