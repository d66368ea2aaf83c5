// What the fuzz targets share: a scratch folder, file writing and stand-ins for the layout
// library's image lookup and drawing.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Lib/lyt/drawable.h"
#include "Lib/lyt/resourceAccessor.h"

namespace fuzz {

// A fresh folder, made the working directory on first use; its path ends in '/'.
inline const std::string& ScratchFolder() {
    static const std::string dir = [] {
        char pattern[] = "/tmp/fuzz_XXXXXX";
        const char* made = ::mkdtemp(pattern);
        if (made == nullptr || ::chdir(made) != 0) __builtin_trap();
        return std::string(made) + "/";
    }();
    return dir;
}

// Writes the file, making its folders first.
inline void WriteFile(const std::string& path, const void* data, size_t size) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        if (size > 0) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
}

inline std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Serves a few zero bytes for every readable name, except names starting with `missing`.
class AnyImage : public LYRALib::lytmgr::ResourceAccessor {
public:
    explicit AnyImage(char missing = '\0') : mMissing(missing) {}
    void* FindResource(uint32_t, const char* name, uint32_t* size) override {
        if (size != nullptr) *size = sizeof mImage;
        return name[0] == mMissing && mMissing != '\0' ? nullptr : mImage;
    }

private:
    char mMissing;
    uint8_t mImage[16] = {};
};

// Adds up what it is asked to draw, so that every value is read.
class Sink : public LYRALib::lytmgr::Drawable {
public:
    void Draw(const LYRALib::lytmgr::DrawRequest& r) override {
        total = total + long(r.x) + r.y + r.width + r.height + r.red + r.alpha;
    }
    void LoadImageData(const void* data, uint32_t size) override {
        if (size > 0) total = total + static_cast<const uint8_t*>(data)[size - 1];
    }
    volatile long total = 0;
};

}  // namespace fuzz
