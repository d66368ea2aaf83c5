// Loads arbitrary bytes as the save file. A file shorter than the fixed size changes nothing;
// a whole one comes in exactly, so storing it again writes back the same blocks.
//
// Input: byte 0 bit 0 set pads (by repeating) the rest to the full size, so small inputs
// reach the accepted path; bit 1 set appends extra bytes, which loading must ignore.
#include <cstring>
#include <vector>

#include "FuzzSupport.h"
#include "progress/ProgressState.h"
#include "progress/SaveData.h"

const char kPath[] = "DATA/SAVE/setting.dat";

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    fuzz::ScratchFolder();
    const uint8_t mode = data[0];
    std::vector<uint8_t> file(data + 1, data + size);
    if ((mode & 1) && !file.empty()) {
        while (file.size() < savefile::kFileSize) file.push_back(file[file.size() % (size - 1)]);
    }
    if (mode & 2) file.insert(file.end(), 16, 0xEE);
    fuzz::WriteFile(kPath, file.data(), file.size());

    // Known state before the load, to see what the load changed.
    TheSettings() = AppSettings{};
    TheSettings().m_menuPosition = 77;
    TheProgress().ResetLessonProgress();
    TheProgress().ResetProblemProgress();
    const std::vector<uint8_t> before = savefile::BuildImage(TheSettings(), TheProgress());

    const bool loaded = LoadSaveData();
    const std::vector<uint8_t> after = savefile::BuildImage(TheSettings(), TheProgress());
    if (after.size() != savefile::kFileSize) __builtin_trap();
    if (!loaded) {
        if (file.size() >= savefile::kFileSize) __builtin_trap();  // a whole file was refused
        if (after != before) __builtin_trap();                     // a refusal changed state
        return 0;
    }
    if (file.size() < savefile::kFileSize) __builtin_trap();  // a short file was accepted
    // Every block came in byte for byte; the padding is not read.
    const size_t blocks = savefile::kFileSize - 8;
    if (std::memcmp(after.data(), file.data(), blocks) != 0) __builtin_trap();

    if (!StoreSaveData()) __builtin_trap();
    const std::vector<uint8_t> stored = fuzz::ReadFile(kPath);
    if (stored.size() != savefile::kFileSize) __builtin_trap();
    // Storing zeroes settings word 5 and the padding; everything else is what was loaded.
    std::vector<uint8_t> expected(file.begin(), file.begin() + long(blocks));
    std::memset(expected.data() + 20, 0, 4);
    expected.resize(savefile::kFileSize, 0);
    if (stored != expected) __builtin_trap();
    return 0;
}
