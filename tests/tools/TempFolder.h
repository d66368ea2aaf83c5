#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

// A scratch folder unique to the running test, removed afterwards.
class TempFolder {
public:
    explicit TempFolder(const std::string& tag)
        : m_path(std::filesystem::temp_directory_path() /
                 ("stonewell_tools_" + tag + "_" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    const std::filesystem::path& path() const { return m_path; }
    std::string Write(const std::string& name, const std::string& content) const {
        auto p = m_path / name;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << content;
        return p.string();
    }

private:
    std::filesystem::path m_path;
};
