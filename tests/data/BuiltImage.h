#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "Lib/ZIRur/File/TIGroup.h"
#include "Lib/ZIRur/Graphics/ImageDecoder.h"
#include "Lib/ZIRur/Layout/ts_layout.h"
#include "Lib/ZIRur/Util/TSingleton.h"
#include "Lib/ZIRur/Wnd/TSButton.h"
#include "platform/headless/HeadlessPlatform.h"

namespace builtdata {

// One decoded picture of a built archive, rows top first.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
    // The pixel's R, G, B, A; zeros outside the picture.
    const uint8_t* At(int x, int y) const {
        static const uint8_t kNone[4] = {0, 0, 0, 0};
        if (x < 0 || y < 0 || x >= width || y >= height) return kNone;
        return rgba.data() + (size_t(y) * size_t(width) + size_t(x)) * 4;
    }
    int Alpha(int x, int y) const { return At(x, y)[3]; }
    // Perceived brightness 0..255 of an opaque pixel.
    int Luma(int x, int y) const {
        const uint8_t* p = At(x, y);
        return (p[0] * 299 + p[1] * 587 + p[2] * 114) / 1000;
    }
};

// Decodes a Targa entry of a built archive as the program does; an empty image (width 0)
// when the entry is missing or cannot be decoded.
inline Image LoadTga(const CTIGroup& group, const char* name) {
    Image image;
    const uint8_t* data = group.GetT2IBuffer(name);
    gfx::DecodedImage decoded;
    if (data == nullptr ||
        !gfx::DecodeImage(gfx::kImageTypeTarga,
                          std::span<const uint8_t>(data, group.GetT2ISize(name)), decoded))
        return image;
    image.width = decoded.width;
    image.height = decoded.height;
    const size_t row = size_t(decoded.width) * 4;
    image.rgba.resize(row * size_t(decoded.height));
    // Decoded bottom row first; kept top row first.
    for (int y = 0; y < decoded.height; ++y)
        std::copy_n(decoded.rgba.get() + size_t(decoded.height - 1 - y) * row, row,
                    image.rgba.data() + size_t(y) * row);
    return image;
}

// Full path of a file under the build's DATA folder.
inline std::string DataPath(const char* relative) {
    return std::string(STONEWELL_BINARY_DIR) + "/DATA/" + relative;
}

// Tests on the archives and layouts the build made; archives are named as under DATA/IMG
// without ".T2G" ("COMMON", "F_1").
class BuiltDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetPlatform(&m_platform);
        ASSERT_TRUE(Archive("COMMON").IsOpen()) << "build the data first (target stonewell_data)";
    }
    void TearDown() override {
        m_layouts.clear();
        TSingleton<CTSLytMgr>::DestroyInstance();
        platform::SetPlatform(nullptr);
    }
    CTIGroup& Archive(const std::string& name) {
        auto& slot = m_archives[name];
        if (!slot) {
            slot = std::make_unique<CTIGroup>();
            EXPECT_TRUE(slot->Open(DataPath(("IMG/" + name + ".T2G").c_str()).c_str())) << name;
        }
        return *slot;
    }
    Image Picture(const std::string& archive, const std::string& name) {
        return LoadTga(Archive(archive), name.c_str());
    }
    CTSLayout& Layout(const std::string& archive) {
        auto& slot = m_layouts[archive];
        if (!slot) {
            slot = std::make_unique<CTSLayout>();
            EXPECT_EQ(slot->Load(&Archive(archive), archive.c_str(), nullptr), 1) << archive;
        }
        return *slot;
    }
    // The screen rectangle of a pane of the archive's layout of the same name.
    TSRect Rect(const std::string& archive, const char* pane) {
        return Layout(archive).GetPane(pane).GetPaneRect();
    }

private:
    platform::HeadlessPlatform m_platform;
    std::map<std::string, std::unique_ptr<CTIGroup>> m_archives;
    std::map<std::string, std::unique_ptr<CTSLayout>> m_layouts;
};

}  // namespace builtdata
