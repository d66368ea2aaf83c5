#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Lib/ZIRur/File/TIGroup.h"
#include "Lib/ZIRur/Layout/ts_layout.h"
#include "platform/headless/HeadlessPlatform.h"

namespace builtdata {

// One decoded picture of a built archive, rows top first.
struct Image {
    int width = 0;
    int height = 0;
    // R, G, B, A per pixel.
    std::vector<uint8_t> rgba;

    // The pixel's four channels; zeros outside the picture.
    const uint8_t* At(int x, int y) const;
    int Alpha(int x, int y) const { return At(x, y)[3]; }
    // Perceived brightness 0..255 of an opaque pixel.
    int Luma(int x, int y) const;
};

// Decodes a Targa entry of a built archive as the program does; an empty image (width 0)
// when the entry is missing or cannot be decoded.
Image LoadTga(const CTIGroup& group, const char* name);

// Full path of a file under the build's DATA folder.
std::string DataPath(const char* relative);

// Tests on the archives and layouts the build made; archives are named as under DATA/IMG
// without ".T2G" ("COMMON", "F_1").
class BuiltDataTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    CTIGroup& Archive(const std::string& name);
    Image Picture(const std::string& archive, const std::string& name) {
        return LoadTga(Archive(archive), name.c_str());
    }
    // The screen rectangle of a pane of the archive's layout of the same name.
    TSRect Rect(const std::string& archive, const char* pane);
    CTSLayout& Layout(const std::string& archive);

private:
    platform::HeadlessPlatform m_platform;
    std::map<std::string, std::unique_ptr<CTIGroup>> m_archives;
    std::map<std::string, std::unique_ptr<CTSLayout>> m_layouts;
};

}  // namespace builtdata
