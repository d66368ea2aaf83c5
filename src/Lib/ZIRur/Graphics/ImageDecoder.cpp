#include "Lib/ZIRur/Graphics/ImageDecoder.h"

#include <climits>
#include <string>

#include "Lib/ZIRur/Graphics/ImageLibrary.h"
#include "Lib/ZIRur/Graphics/JpegStructure.h"
#include "Lib/ZIRur/Util/ByteReader.h"

namespace gfx {
namespace {

// A Targa header states its size up front. Refuse absurd sizes before the decoder
// allocates for them, and files whose pixel data stops short (the decoder would hand back
// whatever its buffer held for the missing rows).
bool TargaAcceptable(std::span<const uint8_t> data) {
    bytes::Reader reader(data);
    uint8_t idLength = 0, mapType = 0, imageType = 0, mapEntryBits = 0, depth = 0;
    uint16_t mapLength = 0, width = 0, height = 0;
    reader.U8(idLength);
    reader.U8(mapType);
    reader.U8(imageType);
    reader.Skip(2);
    reader.U16LE(mapLength);
    reader.U8(mapEntryBits);
    reader.Skip(4);
    reader.U16LE(width);
    reader.U16LE(height);
    reader.U8(depth);
    reader.Skip(1);
    if (!reader.ok()) return false;
    if (width == 0 || height == 0 || width > kMaxImageEdge || height > kMaxImageEdge) return false;
    // Colour-mapped images need a real map of 8- or 16-bit indices; the decoder mishandles
    // the rest.
    const bool mapped = imageType == 1 || imageType == 9;
    if (mapType > 1 || (mapped && (mapType != 1 || mapLength == 0 || (depth != 8 && depth != 16))))
        return false;
    if (mapType == 1 && mapEntryBits != 15 && mapEntryBits != 16 && mapEntryBits != 24 &&
        mapEntryBits != 32)
        return false;
    // True-colour pixels of 16, 24 or 32 bits without a map, grey of 8: the decoder sizes its
    // buffer wrongly for the rest (a 15-bit or mapped true-colour file overruns it).
    const bool trueColour = imageType == 2 || imageType == 10;
    const bool grey = imageType == 3 || imageType == 11;
    if (trueColour && (mapType != 0 || (depth != 16 && depth != 24 && depth != 32))) return false;
    if (grey && depth != 8) return false;
    reader.Skip(idLength);
    if (mapType == 1) reader.Skip(size_t(mapLength) * ((mapEntryBits + 7u) / 8u));
    if (!reader.ok()) return false;
    const size_t pixelBytes = (depth + 7u) / 8u;
    const size_t pixels = size_t(width) * height;
    if (pixelBytes == 0) return false;
    if (imageType >= 1 && imageType <= 3) return reader.has(pixels * pixelBytes);
    if (imageType >= 9 && imageType <= 11) {
        // Walk the run-length packets: each is a count byte and one pixel (a run) or
        // count + 1 pixels (raw).
        size_t seen = 0;
        while (seen < pixels) {
            uint8_t head = 0;
            if (!reader.U8(head)) return false;
            const size_t count = (head & 0x7Fu) + 1u;
            if (!reader.Skip(head & 0x80u ? pixelBytes : count * pixelBytes)) return false;
            seen += count;
        }
        return true;
    }
    return true;  // other kinds are the decoder's to refuse
}

}  // namespace

int ImageTypeFromName(std::string_view name) {
    std::string lower(name);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    if (lower.find(".tif") != std::string::npos) return kImageTypeTiff;
    if (lower.find(".tga") != std::string::npos) return kImageTypeTarga;
    return kImageTypeJpeg;
}

bool DecodeImageWith(ImageLibrary library, int type, std::span<const uint8_t> data,
                     DecodedImage& out) {
    out = DecodedImage{};
    if (data.empty() || data.size() > size_t(UINT_MAX)) return false;
    if (type == kImageTypeTarga && !TargaAcceptable(data)) return false;
    if (type == kImageTypeJpeg && !JpegComplete(data)) return false;
    if (!library(type, data, out)) return false;
    if (out.width > kMaxImageEdge || out.height > kMaxImageEdge) {
        out = DecodedImage{};
        return false;
    }
    return true;
}

bool DecodeImage(int type, std::span<const uint8_t> data, DecodedImage& out) {
#ifdef STONEWELL_WITH_DEVIL
    return DecodeImageWith(DecodeWithDevil, type, data, out);
#else
    return DecodeImageWith(DecodeWithStb, type, data, out);
#endif
}

}  // namespace gfx
