#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace LYRALib::lytmgr {

// Converts a big-endian layout buffer to little-endian in place. The buffer is checked in
// full first: a buffer that is not a layout, has an unsupported version, or whose sections
// or tables reach outside it is left untouched and false is returned (with a warning block).
// There is no marker: a converted buffer no longer passes the magic test.
bool ConvertByteOrder(void* buffer, size_t size);

namespace detail {

// The 16-byte header shared by layout and animation files.
struct FileHeader {
    uint32_t magic = 0;
    uint16_t byteOrderMark = 0;
    uint16_t version = 0;
    uint32_t fileSize = 0;
    uint16_t headerSize = 0;
    uint16_t sectionCount = 0;
};

inline constexpr uint16_t kByteOrderMark = 0xFEFF;
inline constexpr size_t kFileHeaderSize = 16;
inline constexpr size_t kSectionHeaderSize = 8;

// Reads the header in file (big-endian) order; false when the buffer is shorter than it.
bool ReadHeaderBE(const uint8_t* buffer, size_t size, FileHeader& out);
// Reads the header of a converted buffer; false when the buffer is shorter than it.
bool ReadHeaderLE(const uint8_t* buffer, size_t size, FileHeader& out);
// Accepts major 0, minor 8..10; anything else is logged with the library version 0.8.
bool CheckVersion(uint16_t version);
// Magic, byte-order mark, version and header size of an unconverted buffer; each failure is
// logged (`notFileMsg` for a wrong magic or mark, the version message for a bad version).
bool CheckRawHeader(const uint8_t* buf, size_t size, uint32_t magic, const char* notFileMsg);

// Walks an untrusted buffer converting big-endian words to little-endian. Run once with
// apply = false to check, then with apply = true to convert: both runs read the same file-
// order values. A word outside the buffer, or touching bytes already converted in this run
// (two tables pointing at one place), fails the run, so every byte is converted at most
// once and each loop step consumes fresh bytes: no file can make the walk run long.
class WordConverter {
public:
    WordConverter(uint8_t* buffer, size_t size, bool apply);

    bool ok() const { return mOk; }
    size_t size() const { return mSize; }
    bool Fail() { return mOk = false; }
    // True when [off, off + n) lies inside the buffer; a miss fails the run.
    bool Need(size_t off, size_t n);
    // File-order value of the word at off; converted when applying. 0 once failed.
    uint16_t U16(size_t off);
    uint32_t U32(size_t off);
    // An unconverted byte (bytes have no order); 0 and failed when outside.
    uint8_t U8(size_t off);

private:
    bool Claim(size_t off, size_t n);

    uint8_t* mpBuf;
    size_t mSize;
    bool mApply;
    bool mOk = true;
    std::vector<bool> mTouched;
};

// Converts the file header, then walks its sections in order, refusing any section smaller
// than its header or reaching past the file; `section` converts one section and returns false
// to refuse it.
bool WalkSections(WordConverter& c,
                  const std::function<bool(uint32_t kind, size_t off, uint32_t size)>& section);

}  // namespace detail
}  // namespace LYRALib::lytmgr
