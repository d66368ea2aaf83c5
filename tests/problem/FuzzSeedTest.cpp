// Builds the seed corpus of the problem file fuzz target and checks what each seed decodes
// to. With STONEWELL_WRITE_CORPUS set to a directory the seeds are also written there
// (tests/fuzz/corpus/problem_file is made that way).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <span>

#include "ProblemFileWriter.h"
#include "problem/ProblemFile.h"
#include "support/ScratchDir.h"

using testfile::BranchWord;
using testfile::Word;

namespace {

struct Seed {
    std::string name;
    std::vector<uint8_t> bytes;  // selector byte, count byte, file
    bool decodes;
};

std::vector<uint8_t> WithSelector(int chapterNo, int sectionNo, int count,
                                  const std::vector<uint8_t>& file) {
    std::vector<uint8_t> out(file.size() + 2);
    out[0] = uint8_t((chapterNo - 1) | (sectionNo - 1) << 3);
    out[1] = uint8_t(count - 1);
    std::copy(file.begin(), file.end(), out.begin() + 2);
    return out;
}

std::vector<Seed> Seeds() {
    const testfile::Problem seq =
        testfile::Make(6, {Word(1, 0, 0, 18), Word(2, 0, 1, 18), Word(0, 0, 2, 17)},
                       {Word(1, 0, 1, 17), Word(2, 0, 0, 17), Word(1, 0, 2, 16)},
                       {BranchWord(0, 2), BranchWord(0, 3)});
    testfile::Problem choice = testfile::Make(7, {}, {}, {BranchWord(0, 1)});
    choice.answerBytes = testfile::ChoiceBytes("\x82\xa0", "\x82\xa2", "\x82\xa4");

    std::vector<testfile::Problem> everyCode;
    for (int code = 0; code < 12; ++code) {
        everyCode.push_back(code == 7 ? choice : seq);
        everyCode.back().code = uint8_t(code);
    }

    testfile::Block a, b;
    a.section = 2;
    a.problems = {seq};
    b.problems = everyCode;
    testfile::Block c = b;
    c.chapter = 3;
    c.section = 4;
    c.problems = {choice, choice, choice, choice};

    return {
        {"sequence", WithSelector(1, 1, 28, testfile::FileBytes({b})), true},
        {"skip_block", WithSelector(1, 1, 28, testfile::FileBytes({a, b})), true},
        {"choices", WithSelector(3, 4, 40, testfile::FileBytes({a, c})), true},
        {"missing_block", WithSelector(5, 5, 10, testfile::FileBytes({a})), false},
    };
}

}  // namespace

TEST(ProblemFuzzSeeds, SeedsDecodeAsIntended) {
    const char* out = std::getenv("STONEWELL_WRITE_CORPUS");
    for (const Seed& seed : Seeds()) {
        const std::vector<uint8_t>& d = seed.bytes;
        std::vector<ProblemRecord> records(size_t(d[1] % 200) + 1);
        const bool ok = problemfile::DecodeFile(std::span(d).subspan(2), 1 + (d[0] & 7),
                                                1 + ((d[0] >> 3) & 7), records);
        EXPECT_EQ(ok, seed.decodes) << seed.name;
        EXPECT_LT(d.size(), 4096u) << seed.name << " stays small";
        if (out != nullptr) {
            ASSERT_TRUE(testsupport::WriteBytes(std::string(out) + "/" + seed.name, d));
        }
    }
}
