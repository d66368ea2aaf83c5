// Feeds arbitrary bytes to the decoders of a course's two files, the problem file and its
// explanation file. The first byte picks the block looked for (chapter 1..8, section 1..8) and
// the second the section's problem count; the rest is the file.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "problem/ProblemExplanations.h"
#include "problem/ProblemFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int chapterNo = 1 + (data[0] & 7);
    const int sectionNo = 1 + ((data[0] >> 3) & 7);
    const std::span<const uint8_t> file(data + 2, size - 2);
    std::vector<ProblemRecord> records(size_t(data[1] % 200) + 1);
    problemfile::DecodeFile(file, chapterNo, sectionNo, records);
    // Touch what a caller reads so the sanitizers see every byte in use.
    size_t sink = 0;
    for (const ProblemRecord& r : records)
        sink += size_t(r.Type() + r.setupCount + r.answerParam + r.choices[2][49]);
    for (const explanations::ProblemExplanation& e :
         explanations::Decode(file, chapterNo, sectionNo)) {
        sink += e.hint.size() + e.right.size();
        for (const explanations::WrongTry& w : e.wrong) {
            for (const explanations::LineMove& m : w.moves) sink += size_t(m.x + m.y);
            sink += w.comment.empty() ? 0 : uint8_t(w.comment.back());
        }
    }
    volatile size_t keep = sink;
    (void)keep;
    return 0;
}
