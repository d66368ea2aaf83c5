#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/DrawList.h"

namespace headless {

// Replays draw lists on SDL's software renderer into a 1024 x 768 surface, so screenshots
// are the same bytes on every machine.
class FrameCapture {
public:
    FrameCapture();
    ~FrameCapture();
    bool ok() const { return m_sdl != nullptr; }

    // Renders a frame; afterwards Pixels() holds it as 0xAARRGGBB, row 0 on top.
    void Render(const platform::DrawList& frame);
    void Release(const std::vector<uint64_t>& ids);
    std::vector<uint32_t> Pixels() const;
    bool WritePng(const std::string& path) const;

private:
    // The SDL surface, renderer and replayer, kept out of this header so that its users
    // need no SDL headers; null when SDL could not make them.
    struct Sdl;
    std::unique_ptr<Sdl> m_sdl;
};

// Writes 0xAARRGGBB pixels as an opaque RGB PNG.
bool WritePng(const std::string& path, const std::vector<uint32_t>& argb, int width, int height);

// Reads any PNG as opaque 0xFFRRGGBB pixels, row 0 on top; false when the file is not one.
bool ReadPng(const std::string& path, std::vector<uint32_t>& argb, int& width, int& height);

}  // namespace headless
