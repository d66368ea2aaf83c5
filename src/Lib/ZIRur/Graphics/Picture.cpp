#include "Lib/ZIRur/Graphics/Picture.h"

#include <fstream>
#include <vector>

#include "Lib/ZIRur/File/TIGroup.h"
#include "Lib/ZIRur/Graphics/ImageDecoder.h"
#include "Lib/ZIRur/Graphics/RenderDevice.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/ZIRur/Util/TSingleton.h"
#include "platform/Platform.h"

namespace {

constexpr size_t kMaxNameLength = 259;

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return lower;
}

}  // namespace

void CxPicture::Unload() {
    m_image.Reset();
    m_loaded = false;
}

int CxPicture::Fill(const std::string& key, int type, const uint8_t* data, size_t size) {
    CTexture* texture =
        data != nullptr ? TSingleton<CTextureStore>::GetInstance().Acquire(key, type, data, size)
                        : TSingleton<CTextureStore>::GetInstance().AcquireExisting(key);
    if (texture == nullptr) return 0;
    m_image = TextureHandle(texture);
    m_width = texture->ImageWidth();
    m_height = texture->ImageHeight();
    m_loaded = true;
    return 1;
}

int CxPicture::Load(const CTIGroup* group, const char* name) {
    Unload();
    if (group == nullptr || name == nullptr) return 0;
    m_szName = std::string(name).substr(0, kMaxNameLength);
    const uint8_t* data = group->GetT2IBuffer(name);
    const uint32_t size = group->GetT2ISize(name);
    if (data == nullptr || size == 0) return 0;
    const int loaded = Fill(Lower(m_szName), gfx::ImageTypeFromName(m_szName), data, size);
    // The texture holds the pixels now; the file's bytes are read again only if the texture
    // is decoded again.
    group->DropEntryPages(name);
    return loaded;
}

int CxPicture::LoadFile(const char* path) {
    Unload();
    if (path == nullptr) return 0;
    m_szName = std::string(path).substr(0, kMaxNameLength);
    std::ifstream file(platform::NativePath(path), std::ios::binary | std::ios::ate);
    std::vector<uint8_t> bytes;
    const std::streamoff length = file ? std::streamoff(file.tellg()) : std::streamoff(0);
    if (length > 0) {
        bytes.resize(size_t(length));
        file.seekg(0);
        // A short read fails the load.
        if (!file.read(reinterpret_cast<char*>(bytes.data()), length)) bytes.clear();
    }
    if (bytes.empty() ||
        Fill(Lower(m_szName), gfx::ImageTypeFromName(m_szName), bytes.data(), bytes.size()) == 0) {
        dbglog::Printf("Failed to load file: %s\n", path);
        return 0;
    }
    return 1;
}

int CxPicture::LoadData(const uint8_t* data, size_t size) {
    Unload();
    if (data == nullptr || size == 0) return Fill(m_szName, gfx::kImageTypeUnknown, nullptr, 0);
    return Fill(m_szName, gfx::kImageTypeUnknown, data, size);
}

void CxPicture::Draw() {
    if (!m_loaded || m_scaleX == 0.0f || m_scaleY == 0.0f || !m_image) return;
    const int drawWidth = int(float(m_width) * m_scaleX);
    const int drawHeight = int(float(m_height) * m_scaleY);
    int x = m_x;
    int y = m_y;
    switch (m_align & 0x0F) {
        case 2:
            x -= drawWidth / 2;
            break;
        case 3:
            x -= drawWidth;
            break;
        default:
            break;
    }
    switch (m_align & 0xF0) {
        case 0x20:
            y -= drawHeight / 2;
            break;
        case 0x30:
            y -= drawHeight;
            break;
        default:
            break;
    }
    gfx::DrawSprite(m_image->Gpu(), m_image->ImageWidth(), m_image->ImageHeight(), x, y, m_red,
                    m_green, m_blue, m_alpha);
}
