#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "Lib/ZIRur/Graphics/GObj.h"
#include "Lib/ZIRur/Graphics/TextureStore.h"

class CTIGroup;

// A drawable image: a shared texture from an archive entry, a file or raw bytes, drawn at
// its own pixel size with its anchor.
class CxPicture : public CGObj {
public:
    CxPicture() = default;
    ~CxPicture() override = default;

    // Draws the image with its anchor; nothing unless loaded and both scales are non-zero.
    void Draw() override;

    // Loads the archive entry (type from its name, shared under its lower-cased name).
    // 1 on success; 0 leaves the picture unloaded.
    int Load(const CTIGroup* group, const char* name);
    // Loads a whole image file, shared under its lower-cased path. 1 on success.
    int LoadFile(const char* path);
    // Loads image bytes of any supported type, shared under the picture's own name (as it
    // was given); a stored image of that name is used without decoding. 1 on success.
    int LoadData(const uint8_t* data, size_t size);

    bool IsLoaded() const { return m_loaded; }
    const std::string& Name() const { return m_szName; }
    // The texture of the drawn image slot, or null.
    const CTexture* Texture() const { return m_image.get(); }

private:
    // Shares or decodes the bytes under `key`; sets size and the loaded flag.
    int Fill(const std::string& key, int type, const uint8_t* data, size_t size);
    void Unload();

    std::string m_szName;
    // Only the first image set is ever selected, so one slot suffices.
    TextureHandle m_image;
    bool m_loaded = false;
};
