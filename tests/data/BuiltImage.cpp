#include "BuiltImage.h"

#include <algorithm>
#include <span>

#include "Lib/ZIRur/Graphics/ImageDecoder.h"
#include "Lib/ZIRur/Util/TSingleton.h"
#include "Lib/ZIRur/Wnd/TSButton.h"

namespace builtdata {

namespace {
const uint8_t kNone[4] = {0, 0, 0, 0};
}

const uint8_t* Image::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return kNone;
    return rgba.data() + (size_t(y) * size_t(width) + size_t(x)) * 4;
}

int Image::Luma(int x, int y) const {
    const uint8_t* p = At(x, y);
    return (p[0] * 299 + p[1] * 587 + p[2] * 114) / 1000;
}

Image LoadTga(const CTIGroup& group, const char* name) {
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

std::string DataPath(const char* relative) {
    return std::string(STONEWELL_BINARY_DIR) + "/DATA/" + relative;
}

void BuiltDataTest::SetUp() {
    platform::SetPlatform(&m_platform);
    ASSERT_TRUE(Archive("COMMON").IsOpen()) << "build the data first (target stonewell_data)";
}

void BuiltDataTest::TearDown() {
    m_layouts.clear();
    TSingleton<CTSLytMgr>::DestroyInstance();
    platform::SetPlatform(nullptr);
}

CTIGroup& BuiltDataTest::Archive(const std::string& name) {
    auto& slot = m_archives[name];
    if (!slot) {
        slot = std::make_unique<CTIGroup>();
        EXPECT_TRUE(slot->Open(DataPath(("IMG/" + name + ".T2G").c_str()).c_str())) << name;
    }
    return *slot;
}

CTSLayout& BuiltDataTest::Layout(const std::string& archive) {
    auto& slot = m_layouts[archive];
    if (!slot) {
        slot = std::make_unique<CTSLayout>();
        EXPECT_EQ(slot->Load(&Archive(archive), archive.c_str(), nullptr), 1) << archive;
    }
    return *slot;
}

TSRect BuiltDataTest::Rect(const std::string& archive, const char* pane) {
    return Layout(archive).GetPane(pane).GetPaneRect();
}

}  // namespace builtdata
