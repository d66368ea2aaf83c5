#include "ProblemFileWriter.h"

#include <algorithm>

namespace testfile {
namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> ChoiceBytes(const std::string& t1, const std::string& t2,
                                 const std::string& t3) {
    std::vector<uint8_t> out = {uint8_t(t1.size()), uint8_t(t2.size()), uint8_t(t3.size())};
    for (const std::string* t : {&t1, &t2, &t3}) out.insert(out.end(), t->begin(), t->end());
    return out;
}

std::vector<uint8_t> ProblemBytes(const Problem& p) {
    std::vector<uint8_t> out = {p.caption, p.code, p.question};
    Put32(out, uint32_t(p.setupCountField.value_or(int32_t(p.setup.size()))));
    for (uint32_t w : p.setup) Put32(out, w);
    Put32(out, uint32_t(p.branchCountField.value_or(int32_t(p.branches.size()))));
    for (uint32_t w : p.branches) Put32(out, w);
    if (!p.answerBytes.empty()) {
        std::vector<uint8_t> bytes = p.answerBytes;
        while (bytes.size() % 4 != 0) bytes.push_back(0);
        Put32(out, uint32_t(p.answerCountField.value_or(int32_t(bytes.size() / 4))));
        out.insert(out.end(), bytes.begin(), bytes.end());
    } else {
        Put32(out, uint32_t(p.answerCountField.value_or(int32_t(p.answers.size()))));
        for (uint32_t w : p.answers) Put32(out, w);
    }
    return out;
}

std::vector<uint8_t> FileBytes(const std::vector<Block>& blocks) {
    std::vector<uint8_t> out = {'P', 'R', 'O', 'B', 0, 0, 0, 0};
    for (const Block& b : blocks) {
        std::vector<uint8_t> body;
        Put32(body, uint32_t(b.problemCountField.value_or(int32_t(b.problems.size()))));
        for (const Problem& p : b.problems) {
            std::vector<uint8_t> bytes = ProblemBytes(p);
            body.insert(body.end(), bytes.begin(), bytes.end());
        }
        const uint32_t size = uint32_t(int64_t(body.size()) + b.bodySizeDelta);
        body.resize(body.size() - std::min(b.truncate, body.size()));
        out.push_back(b.courseTag);
        out.push_back(b.chapter);
        out.push_back(b.section);
        Put32(out, size);
        out.insert(out.end(), body.begin(), body.end());
    }
    return out;
}

}  // namespace testfile
