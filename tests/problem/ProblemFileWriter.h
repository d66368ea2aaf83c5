#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Writes problem files byte by byte from the format's tables, independently of the loader.
namespace testfile {

// Setup or answer word: bits 0-7 file kind code, 8-15 aux, 16-23 x, 24-31 y (signed).
inline uint32_t Word(int fileCode, int aux, int x, int y) {
    return uint32_t(uint8_t(fileCode)) | uint32_t(uint8_t(aux)) << 8 | uint32_t(uint8_t(x)) << 16 |
           uint32_t(uint8_t(int8_t(y))) << 24;
}
// Branch word: answers lo .. hi - 1.
inline uint32_t BranchWord(int lo, int hi) {
    return uint32_t(uint16_t(lo)) | uint32_t(uint16_t(int16_t(hi))) << 16;
}

struct Problem {
    uint8_t caption = 0;
    uint8_t code = 0;
    uint8_t question = 0;
    std::vector<uint32_t> setup{};
    std::vector<uint32_t> branches{};
    std::vector<uint32_t> answers{};
    // When set, written as the answer bytes instead of `answers` (code 7); padded with zeros
    // to a multiple of 4, A = size / 4.
    std::vector<uint8_t> answerBytes{};
    // When set, written as the count field instead of the real count.
    std::optional<int32_t> answerCountField{};
};

// A problem of file code `code` with its setup, answer and branch words.
inline Problem Make(int code, std::vector<uint32_t> setup, std::vector<uint32_t> answers = {},
                    std::vector<uint32_t> branches = {}) {
    return {.code = uint8_t(code),
            .setup = std::move(setup),
            .branches = std::move(branches),
            .answers = std::move(answers)};
}

struct Block {
    uint8_t courseTag = 1;
    uint8_t chapter = 1;  // 1-based
    uint8_t section = 1;  // 1-based
    std::vector<Problem> problems{};
    // When set, written as P instead of problems.size().
    std::optional<int32_t> problemCountField{};
    // Added to the true body size in the header.
    int64_t bodySizeDelta = 0;
    // Bytes dropped from the end of the body (a truncated file).
    size_t truncate = 0;
};

inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

// The answer bytes of a code-7 problem: the three lengths, then the texts.
inline std::vector<uint8_t> ChoiceBytes(const std::string& t1, const std::string& t2,
                                        const std::string& t3) {
    std::vector<uint8_t> out = {uint8_t(t1.size()), uint8_t(t2.size()), uint8_t(t3.size())};
    for (const std::string* t : {&t1, &t2, &t3}) out.insert(out.end(), t->begin(), t->end());
    return out;
}

// The body of one problem entry.
inline std::vector<uint8_t> ProblemBytes(const Problem& p) {
    std::vector<uint8_t> out = {p.caption, p.code, p.question};
    Put32(out, uint32_t(p.setup.size()));
    for (uint32_t w : p.setup) Put32(out, w);
    Put32(out, uint32_t(p.branches.size()));
    for (uint32_t w : p.branches) Put32(out, w);
    std::vector<uint8_t> bytes = p.answerBytes;
    while (bytes.size() % 4 != 0) bytes.push_back(0);
    const size_t count = p.answerBytes.empty() ? p.answers.size() : bytes.size() / 4;
    Put32(out, uint32_t(p.answerCountField.value_or(int32_t(count))));
    if (p.answerBytes.empty())
        for (uint32_t w : p.answers) Put32(out, w);
    out.insert(out.end(), bytes.begin(), bytes.end());
    return out;
}

// An 8-byte header and the blocks.
inline std::vector<uint8_t> FileBytes(const std::vector<Block>& blocks) {
    std::vector<uint8_t> out = {'P', 'R', 'O', 'B', 0, 0, 0, 0};
    for (const Block& b : blocks) {
        std::vector<uint8_t> body;
        Put32(body, uint32_t(b.problemCountField.value_or(int32_t(b.problems.size()))));
        for (const Problem& p : b.problems) {
            const std::vector<uint8_t> bytes = ProblemBytes(p);
            body.insert(body.end(), bytes.begin(), bytes.end());
        }
        const uint32_t size = uint32_t(int64_t(body.size()) + b.bodySizeDelta);
        body.resize(body.size() - std::min(b.truncate, body.size()));
        out.insert(out.end(), {b.courseTag, b.chapter, b.section});
        Put32(out, size);
        out.insert(out.end(), body.begin(), body.end());
    }
    return out;
}

}  // namespace testfile
