#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

// Immutable CPU pixels of one texture: 32-bit ARGB (A in the top byte), row 0 on top.
// Sizes are powers of two. A new upload makes a new snapshot, so the window thread can read
// a snapshot while the worker prepares the next one.
struct TexturePixels {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint32_t> argb;
    // Set by the backend once it holds its own copy of this snapshot; later frames then carry
    // no pixels for it, and the last reference, with the memory, goes.
    mutable std::atomic<bool> copied{false};
};

struct SourceRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const SourceRect&) const = default;
};

// One recorded drawing operation of a frame.
struct DrawCommand {
    enum class Kind : uint8_t { Clear, Sprite };
    Kind kind = Kind::Clear;
    // Clear colour, or the sprite's modulation colour; ARGB.
    uint32_t argb = 0xFF000000;
    // Sprite only.
    uint64_t textureId = 0;
    uint64_t textureGeneration = 0;
    // Null when the backend already holds this generation of the texture.
    std::shared_ptr<const TexturePixels> pixels;
    SourceRect src;
    float x = 0, y = 0;            // back-buffer pixels of the top-left corner
    float scaleX = 1, scaleY = 1;  // applied to the source rectangle's size
    bool filterLinear = true;

    bool operator==(const DrawCommand& o) const {
        return kind == o.kind && argb == o.argb && textureId == o.textureId &&
               textureGeneration == o.textureGeneration && src == o.src && x == o.x && y == o.y &&
               scaleX == o.scaleX && scaleY == o.scaleY && filterLinear == o.filterLinear;
    }
};

// Everything drawn between a frame's Clear and its Present, replayed by the backend on the
// thread that owns the window.
struct DrawList {
    std::vector<DrawCommand> commands;
    bool operator==(const DrawList&) const = default;
};

}  // namespace platform
