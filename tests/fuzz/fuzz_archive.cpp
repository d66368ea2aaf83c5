// Feeds arbitrary bytes to the archive reader as a whole in-memory archive and looks up
// every entry it lists: nothing may read outside the buffer.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "Lib/ZIRur/File/TIGroup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> buffer(data, data + size);
    CTIGroup group;
    if (!group.OpenProcess("fuzz.T2G", buffer)) return 0;
    // Probe names taken from the bytes themselves plus fixed ones.
    for (const char* name : {"a.tga", "A.TGA", "x.lyt", "font.otf", "pic.gim"}) {
        const uint8_t* entry = group.GetT2IBuffer(name);
        uint32_t n = group.GetT2ISize(name);
        volatile uint8_t sink = 0;
        for (uint32_t i = 0; entry != nullptr && i < n; ++i) sink = sink + entry[i];
        (void)group.GetT2IStoredSize(name);
    }
    // Re-parsing the same resident buffer must behave the same.
    group.OpenProcess("fuzz.T2G", buffer);
    return 0;
}
