#include "Lib/lyt/byteOrder.h"

#include "Lib/ZIRur/Util/ByteReader.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/lyt/sectionTags.h"

namespace LYRALib::lytmgr {
namespace detail {

bool ReadHeaderBE(const uint8_t* buffer, size_t size, FileHeader& out) {
    bytes::Reader r(buffer, size);
    r.U32BE(out.magic);
    r.U16BE(out.byteOrderMark);
    r.U16BE(out.version);
    r.U32BE(out.fileSize);
    r.U16BE(out.headerSize);
    r.U16BE(out.sectionCount);
    return r.ok();
}

bool ReadHeaderLE(const uint8_t* buffer, size_t size, FileHeader& out) {
    bytes::Reader r(buffer, size);
    r.U32LE(out.magic);
    r.U16LE(out.byteOrderMark);
    r.U16LE(out.version);
    r.U32LE(out.fileSize);
    r.U16LE(out.headerSize);
    r.U16LE(out.sectionCount);
    return r.ok();
}

bool CheckVersion(uint16_t version) {
    const int major = version >> 8;
    const int minor = version & 0xFF;
    if (major == 0 && minor >= 8 && minor <= 10) return true;
    LYRA_WARN("version", version,
              "Version check failed. library ver. '%d.%d', file ver. '%d.%d'.\n", 0, 8, major,
              minor);
    return false;
}

WordConverter::WordConverter(uint8_t* buffer, size_t size, bool apply)
    : mpBuf(buffer), mSize(size), mApply(apply), mTouched(size, false) {}

bool WordConverter::Need(size_t off, size_t n) {
    if (mOk && off <= mSize && n <= mSize - off) return true;
    return Fail();
}

bool WordConverter::Claim(size_t off, size_t n) {
    if (!Need(off, n)) return false;
    for (size_t i = 0; i < n; ++i)
        if (mTouched[off + i]) return Fail();
    for (size_t i = 0; i < n; ++i) mTouched[off + i] = true;
    return true;
}

uint16_t WordConverter::U16(size_t off) {
    if (!Claim(off, 2)) return 0;
    const uint16_t v = bytes::LoadU16BE(mpBuf + off);
    if (mApply) bytes::StoreU16LE(mpBuf + off, v);
    return v;
}

uint32_t WordConverter::U32(size_t off) {
    if (!Claim(off, 4)) return 0;
    const uint32_t v = bytes::LoadU32BE(mpBuf + off);
    if (mApply) bytes::StoreU32LE(mpBuf + off, v);
    return v;
}

uint8_t WordConverter::U8(size_t off) {
    return Need(off, 1) ? mpBuf[off] : 0;
}

namespace {

// Pane record: the ten floats from offset 36.
void ConvertPaneRecord(WordConverter& c, size_t s, uint32_t size) {
    if (size < kPaneRecordSize) {
        c.Fail();
        return;
    }
    for (size_t i = 0; i < 10; ++i) c.U32(s + 36 + 4 * i);
}

void ConvertMaterial(WordConverter& c, size_t rec) {
    for (size_t i = 0; i < 12; ++i) c.U16(rec + 20 + 2 * i);
    const uint32_t flags = c.U32(rec + 60);
    size_t p = rec + 64;
    const uint32_t texMaps = flags & 0xF;
    for (uint32_t i = 0; i < texMaps; ++i) c.U16(p + 4 * i);
    p += 4 * texMaps;
    const uint32_t texSRTs = (flags >> 4) & 0xF;
    for (uint32_t i = 0; i < texSRTs * 5; ++i) c.U32(p + 4 * i);
    p += 20 * texSRTs;
    p += 4 * ((flags >> 8) & 0xF);   // coordinate generators
    p += (flags >> 25) & 1 ? 4 : 0;  // channel control
    p += (flags >> 27) & 1 ? 4 : 0;  // material colour
    p += (flags >> 12) & 1 ? 4 : 0;  // swap table
    const uint32_t indSRTs = (flags >> 13) & 0x3;
    for (uint32_t i = 0; i < indSRTs * 5; ++i) c.U32(p + 4 * i);
}

void ConvertSection(WordConverter& c, uint32_t kind, size_t s, uint32_t size) {
    switch (kind) {
        case kTagPane:
        case kTagBounding:
            ConvertPaneRecord(c, s, size);
            break;
        case kTagPicture:
            ConvertPaneRecord(c, s, size);
            if (size < kPictureFixedSize) return void(c.Fail());
            for (size_t i = 0; i < 4; ++i) c.U32(s + 76 + 4 * i);
            c.U16(s + 92);
            break;
        case kTagTextBox:
            ConvertPaneRecord(c, s, size);
            if (size < kTextBoxFixedSize) return void(c.Fail());
            for (size_t i = 0; i < 4; ++i) c.U16(s + 76 + 2 * i);
            c.U32(s + 88);
            c.U32(s + 92);
            c.U32(s + 96);
            for (size_t i = 0; i < 4; ++i) c.U32(s + 100 + 4 * i);
            break;
        case kTagWindow:
            ConvertPaneRecord(c, s, size);
            if (size < kWindowFixedSize) return void(c.Fail());
            for (size_t i = 0; i < 4; ++i) c.U32(s + 76 + 4 * i);
            c.U32(s + 96);
            c.U32(s + 100);
            break;
        case kTagTextureList: {
            if (size < 12) return void(c.Fail());
            const uint16_t n = c.U16(s + 8);
            if (12 + size_t(n) * 8 > size) return void(c.Fail());
            for (size_t i = 0; i < n; ++i) c.U32(s + 12 + 8 * i);
            break;
        }
        case kTagFontList:
        case kTagUserData:
            if (size < 12) return void(c.Fail());
            c.U16(s + 8);
            break;
        case kTagMaterialList: {
            if (size < 12) return void(c.Fail());
            const uint16_t n = c.U16(s + 8);
            if (12 + size_t(n) * 4 > size) return void(c.Fail());
            for (size_t i = 0; i < n && c.ok(); ++i) ConvertMaterial(c, s + c.U32(s + 12 + 4 * i));
            break;
        }
        case kTagGroup:
            if (size < kGroupFixedSize) return void(c.Fail());
            c.U16(s + 24);
            break;
        default:
            break;  // headers only, or unknown: nothing to convert
    }
}

}  // namespace

bool WalkSections(WordConverter& c,
                  const std::function<bool(uint32_t kind, size_t off, uint32_t size)>& section) {
    c.U32(0);
    c.U16(4);
    c.U16(6);
    c.U32(8);
    const uint16_t headerSize = c.U16(12);
    const uint16_t count = c.U16(14);
    size_t off = headerSize;
    for (uint16_t i = 0; i < count && c.ok(); ++i) {
        const uint32_t kind = c.U32(off);
        const uint32_t size = c.U32(off + 4);
        if (!c.ok() || size < kSectionHeaderSize || !c.Need(off, size)) return c.Fail();
        if (!section(kind, off, size)) return c.Fail();
        off += size;
    }
    return c.ok();
}

namespace {

// Header already known to be a supported layout; walks every section.
bool WalkLayout(WordConverter& c) {
    return WalkSections(c, [&c](uint32_t kind, size_t off, uint32_t size) {
        ConvertSection(c, kind, off, size);
        return true;
    });
}

}  // namespace

// Shared by the layout and animation loaders: magic, mark and version of the raw header.
bool CheckRawHeader(const uint8_t* buf, size_t size, uint32_t magic, const char* notFileMsg) {
    FileHeader h;
    if (!ReadHeaderBE(buf, size, h) || h.magic != magic || h.byteOrderMark != kByteOrderMark) {
        LYRA_WARN("magic", h.magic, "%s", notFileMsg);
        return false;
    }
    if (!CheckVersion(h.version)) return false;
    if (h.headerSize < kFileHeaderSize) {
        LYRA_WARN("headerSize", h.headerSize, "%s", notFileMsg);
        return false;
    }
    return true;
}

}  // namespace detail

bool ConvertByteOrder(void* buffer, size_t size) {
    auto* buf = static_cast<uint8_t*>(buffer);
    if (buf == nullptr) {
        LYRA_POINTER_ERROR("buffer", buffer);
        return false;
    }
    if (!detail::CheckRawHeader(buf, size, detail::kTagLayoutFile, "not layout file.\n"))
        return false;
    detail::WordConverter check(buf, size, false);
    if (!detail::WalkLayout(check)) {
        LYRA_WARN("size", static_cast<long>(size), "layout data is out of range.\n");
        return false;
    }
    detail::WordConverter apply(buf, size, true);
    return detail::WalkLayout(apply);
}

}  // namespace LYRALib::lytmgr
