#pragma once

#include <array>
#include <cstdint>

#include "Lib/lyt/pane.h"

namespace LYRALib::lytmgr {

// A pane that shows an image through its material and draw object.
class Picture : public Pane {
public:
    static constexpr uint8_t kTexCoordCap = 10;
    using TexCoord = std::array<Vec2, 4>;

    Picture();

    void DrawOwn(const DrawInfo& info) override;
    uint8_t GetVtxColorElement(uint32_t index) const override;
    void SetVtxColorElement(uint32_t index, uint8_t value) override;
    // Also makes the object the texture object of texture map 0, so that pattern animations
    // reach the image it shows.
    void AttachDrawable(Drawable* object) override;

    // Adds a texture map with the given image; logs and adds none when the material is full.
    virtual bool AppendTexture(const void* image, uint32_t size);
    // Vertex colour 0..3 (top-left, top-right, bottom-left, bottom-right) as 0xRRGGBBAA.
    virtual uint32_t GetVtxColor(uint32_t index) const;
    virtual void SetVtxColor(uint32_t index, uint32_t color);

    uint8_t GetTexCoordNum() const { return mTexCoordNum; }
    const TexCoord& GetTexCoord(size_t i) const { return mTexCoords[i]; }
    void SetMaterial(Material* material) { SetMaterialOwned(material); }

    // Reads a converted "pict" section (record, colours, coordinates and material).
    bool Read(detail::ByteView& file, size_t s, uint32_t sectionSize,
              const detail::ResourceContext& ctx);

private:
    uint32_t mVtxColors[4] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
    uint8_t mTexCoordNum = 0;
    std::array<TexCoord, kTexCoordCap> mTexCoords{};
};

}  // namespace LYRALib::lytmgr
