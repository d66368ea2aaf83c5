#include "support/ScratchDir.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace testsupport {

ScratchDir::ScratchDir() {
    // create_directory fails on a name that exists, so the folder made is this test's alone.
    static std::atomic<unsigned> counter{0};
    const auto now = unsigned(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const auto path = std::filesystem::temp_directory_path() /
                          ("stonewell-" + std::to_string(now) + "-" + std::to_string(counter++));
        std::error_code error;
        if (std::filesystem::create_directory(path, error)) {
            m_path = path.string();
            return;
        }
    }
    std::abort();
}

ScratchDir::~ScratchDir() {
    std::error_code error;
    std::filesystem::remove_all(m_path, error);
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& data) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    return bool(out);
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

WorkingDirectory::WorkingDirectory(const std::string& dir)
    : m_previous(std::filesystem::current_path().string()) {
    std::filesystem::current_path(dir);
}

WorkingDirectory::~WorkingDirectory() {
    std::error_code error;
    std::filesystem::current_path(m_previous, error);
}

}  // namespace testsupport
