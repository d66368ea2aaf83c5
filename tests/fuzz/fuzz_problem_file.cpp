// Feeds arbitrary bytes to the problem file decoder. The first byte picks the block looked
// for (chapter 1..8, section 1..8) and the second the section's problem count; the rest is
// the file.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "problem/ProblemFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int chapterNo = 1 + (data[0] & 7);
    const int sectionNo = 1 + ((data[0] >> 3) & 7);
    std::vector<ProblemRecord> records(size_t(data[1] % 200) + 1);
    problemfile::DecodeFile(std::span<const uint8_t>(data + 2, size - 2), chapterNo, sectionNo,
                            records);
    for (const ProblemRecord& r : records) {
        // Touch what a caller reads so the sanitizers see every byte in use.
        volatile int sink = r.Type() + r.setupCount + r.answerParam + r.choices[2][49];
        (void)sink;
    }
    return 0;
}
