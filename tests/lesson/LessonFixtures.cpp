#include "LessonFixtures.h"

#include <atomic>
#include <fstream>

#include <unistd.h>

namespace lessontest {

void PutS32(std::vector<uint8_t>& out, int32_t value) {
    const uint32_t v = uint32_t(value);
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

void PutEntry(std::vector<uint8_t>& out, const Entry& entry) {
    out.push_back(entry.x);
    out.push_back(entry.y);
    out.push_back(uint8_t(entry.code & 0xFF));
    out.push_back(uint8_t(entry.code >> 8));
}

void PutRecord(std::vector<uint8_t>& out, const PageRecord& page) {
    PutS32(out, page.characterPose);
    PutS32(out, page.windowMode);
    PutS32(out, page.boardSize);
    PutS32(out, page.stepCount.value_or(int32_t(page.steps.size())));
    PutS32(out, page.autoAdvance);
    PutS32(out, page.showFinal);
    PutS32(out, page.textFirst);
    for (const auto& step : page.steps) {
        PutS32(out, int32_t(step.size()));
        for (const Entry& entry : step) PutEntry(out, entry);
    }
}

std::vector<uint8_t> DataFile(const std::vector<PageRecord>& pages,
                              std::optional<int32_t> pageCount) {
    std::vector<uint8_t> out;
    PutS32(out, pageCount.value_or(int32_t(pages.size())));
    for (const PageRecord& page : pages) PutRecord(out, page);
    return out;
}

std::string TextFile(const std::vector<std::pair<std::string, std::string>>& pages) {
    std::string out;
    for (const auto& [caption, body] : pages) out += caption + "\r\n" + body + "\r\n";
    return out;
}

TempDir::TempDir() {
    static std::atomic<int> serial{0};
    m_path = std::filesystem::temp_directory_path() /
             ("stonewell-lesson-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void TempDir::Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    std::ofstream out(m_path / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void TempDir::Write(const std::string& name, const std::string& text) const {
    Write(name, std::vector<uint8_t>(text.begin(), text.end()));
}

void TempDir::Remove(const std::string& name) const {
    std::filesystem::remove(m_path / name);
}

std::string Kana(int characters) {
    std::string out;
    for (int i = 0; i < characters; ++i) out += "\x82\xA0";
    return out;
}

}  // namespace lessontest
