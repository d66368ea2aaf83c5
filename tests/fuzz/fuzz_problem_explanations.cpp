// Feeds arbitrary bytes to the explanation file decoder. The first byte picks the block looked
// for (chapter 1..8, section 1..8); the rest is the file.
#include <cstddef>
#include <cstdint>
#include <span>

#include "problem/ProblemExplanations.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const int chapterNo = 1 + (data[0] & 7);
    const int sectionNo = 1 + ((data[0] >> 3) & 7);
    const auto entries =
        explanations::Decode(std::span<const uint8_t>(data + 1, size - 1), chapterNo, sectionNo);
    size_t sink = 0;
    for (const explanations::ProblemExplanation& e : entries) {
        // Touch what a caller reads so the sanitizers see every byte in use.
        sink += e.hint.size() + e.right.size();
        for (const explanations::WrongTry& w : e.wrong) {
            for (const explanations::LineMove& m : w.moves) sink += m.x + m.y;
            sink += w.comment.empty() ? 0 : uint8_t(w.comment.back());
        }
    }
    volatile size_t keep = sink;
    (void)keep;
    return 0;
}
