#include "problem/ProblemFile.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "Lib/ZIRur/Util/ByteReader.h"
#include "platform/Platform.h"
#include "progress/ProgressState.h"

namespace problemfile {
namespace {

constexpr uint8_t kChoiceOrders[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2},
                                         {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};

// Fields of a setup or answer word.
struct Word {
    uint8_t code;
    uint8_t aux;
    uint8_t x;
    int8_t y;
};

Word SplitWord(uint32_t w) {
    return {uint8_t(w), uint8_t(w >> 8), uint8_t(w >> 16), int8_t(uint8_t(w >> 24))};
}

// One problem entry as read, before it is turned into a record.
struct RawProblem {
    uint8_t caption = 0;
    uint8_t code = 0;
    uint8_t question = 0;
    std::vector<uint32_t> setup;
    std::vector<uint32_t> branches;
    std::span<const uint8_t> answerBytes;  // 4 x A bytes
    int32_t answerCount = 0;

    uint32_t AnswerWord(int j) const { return bytes::LoadU32LE(answerBytes.data() + 4 * j); }
};

bool ReadCount(bytes::Reader& in, int32_t limit, int32_t& count) {
    return in.S32LE(count) && count >= 0 && count <= limit;
}

bool ReadWords(bytes::Reader& in, int32_t count, std::vector<uint32_t>& words) {
    words.resize(size_t(count));
    for (uint32_t& w : words) {
        if (!in.U32LE(w)) return false;
    }
    return true;
}

bool ReadProblem(bytes::Reader& in, RawProblem& p) {
    int32_t s = 0, r = 0;
    if (!in.U8(p.caption) || !in.U8(p.code) || !in.U8(p.question)) return false;
    if (!ReadCount(in, kMaxSetupWords, s) || !ReadWords(in, s, p.setup)) return false;
    if (!ReadCount(in, kMaxBranches, r) || !ReadWords(in, r, p.branches)) return false;
    if (!ReadCount(in, kMaxAnswerWords, p.answerCount)) return false;
    p.answerBytes = in.Bytes(size_t(p.answerCount) * 4);
    return in.ok();
}

// Branch word fields: answers lo .. hi - 1.
struct Branch {
    int lo;
    int hi;
};

Branch SplitBranch(uint32_t w) {
    return {int(w & 0xFFFF), int(int16_t(uint16_t(w >> 16)))};
}

// Copies the three choice texts of a code-7 problem into the record's slots in the order of
// the problem index. False when the texts do not fit the answer bytes or a slot.
bool DecodeChoices(const RawProblem& p, int problemIndex, ProblemRecord& rec) {
    const std::span<const uint8_t> b = p.answerBytes;
    if (b.size() < 3) return false;
    const size_t lengths[3] = {b[0], b[1], b[2]};
    char texts[3][kMaxChoiceText + 1] = {};
    size_t pos = 3;
    for (int t = 0; t < 3; ++t) {
        if (lengths[t] > size_t(kMaxChoiceText) || pos + lengths[t] > b.size()) return false;
        std::memcpy(texts[t], b.data() + pos, lengths[t]);
        pos += lengths[t];
    }
    const uint8_t* order = ChoiceOrder(problemIndex);
    for (int k = 0; k < 3; ++k) {
        std::memset(rec.choices[k], 0, sizeof rec.choices[k]);
        std::memcpy(rec.choices[k], texts[order[k]], sizeof texts[order[k]]);
        if (order[k] == 0) rec.answerParam = uint8_t(k);
    }
    return true;
}

// Turns one problem entry into its record. False when it breaks a limit.
bool DecodeProblem(RawProblem& p, int problemIndex, ProblemRecord& rec) {
    rec = ProblemRecord{};
    const int code = p.code;
    const ProblemType type = p.answerCount == 0 ? ProblemType::ShownSequence : TypeOfCode(code);

    // Window test; a word off the board is replaced by the last one, which is tested in turn.
    bool fullBoard = p.answerCount == 0;
    size_t i = 0;
    while (i < p.setup.size()) {
        const Word w = SplitWord(p.setup[i]);
        if (w.x > 18 || w.y < 0 || w.y > 18) {
            p.setup[i] = p.setup.back();
            p.setup.pop_back();
            continue;
        }
        if (w.x > 11 || w.y < 8) fullBoard = true;
        ++i;
    }
    const auto mapRow = [fullBoard](int8_t y) { return uint8_t(fullBoard ? y : 18 - y); };

    // Everything the answer part writes must fit the slots after the setup entries.
    const int setupCount = int(p.setup.size());
    int answerSlots = 0;
    if (code == 0) {
        answerSlots = 2 * p.answerCount;
    } else {
        for (uint32_t bw : p.branches) {
            const Branch b = SplitBranch(bw);
            if (b.lo > b.hi || b.hi > p.answerCount) return false;
            answerSlots += 1 + (b.hi - b.lo);
        }
    }
    if (setupCount + answerSlots > ProblemRecord::kSlots) return false;

    rec.typeByte = uint8_t(int(type) | (fullBoard ? ProblemRecord::kFullBoardFlag : 0));
    rec.setupCount = uint8_t(setupCount);
    for (int s = 0; s < setupCount; ++s) {
        const Word w = SplitWord(p.setup[size_t(s)]);
        rec.slots[s] = {KindOfFileCode(w.code, w.aux), w.x, mapRow(w.y), w.aux};
    }

    int slot = setupCount;
    if (code == 0) {
        for (int j = 0; j < p.answerCount; ++j) {
            const Word w = SplitWord(p.AnswerWord(j));
            rec.slots[slot++].aux = 1;
            rec.slots[slot++] = {0, w.x, mapRow(w.y), 0};
        }
        rec.answerParam = uint8_t(p.answerCount);
    } else {
        for (uint32_t bw : p.branches) {
            const Branch b = SplitBranch(bw);
            rec.slots[slot++].aux = uint8_t(b.hi - b.lo);
            for (int j = b.lo; j < b.hi; ++j, ++slot) {
                const int step = j - b.lo;
                // Code 7 keeps its choice texts in the answer bytes; they are not words.
                const Word w = code == 7 ? Word{} : SplitWord(p.AnswerWord(j));
                const uint8_t x = w.x, row = mapRow(w.y);
                switch (code) {
                    case 1:
                    case 5:
                        rec.answerParam = uint8_t(p.AnswerWord(0) >> 16);
                        break;
                    case 2:
                    case 9:
                        rec.slots[slot] = {7, x, row, 0};
                        for (int s = 0; s < setupCount; ++s) {
                            if (rec.slots[s].x == x && rec.slots[s].y == row) {
                                rec.answerParam = rec.slots[s].kind;
                                break;
                            }
                        }
                        break;
                    case 3:
                        rec.slots[slot] = {8, x, row, 0};
                        rec.answerParam = uint8_t(p.answerCount);
                        break;
                    case 4:
                    case 8:
                        rec.slots[slot] = {9, x, row, 0};
                        rec.answerParam = uint8_t(p.answerCount);
                        break;
                    case 6:
                        rec.slots[slot] = {uint8_t(step % 2 == 0 ? 0 : 1), x, row,
                                           uint8_t(step + 1)};
                        rec.answerParam = uint8_t(p.branches.size());
                        break;
                    case 10:
                        rec.slots[slot] = {1, x, row, uint8_t(step + 1)};
                        break;
                    default:
                        break;
                }
            }
        }
    }

    rec.turn = TurnOfCode(code);
    rec.caption = p.caption;
    rec.question = p.question;
    if (rec.typeByte == uint8_t(ProblemType::Choice) && !DecodeChoices(p, problemIndex, rec))
        return false;
    return true;
}

bool DecodeBlockBody(std::span<const uint8_t> body, std::span<ProblemRecord> records) {
    bytes::Reader in(body);
    int32_t count = 0;
    if (!in.S32LE(count) || count < 0 || size_t(count) > records.size()) return false;
    RawProblem raw;
    for (int32_t i = 0; i < count; ++i) {
        raw = RawProblem{};
        if (!ReadProblem(in, raw)) return false;
        if (!DecodeProblem(raw, int(i), records[size_t(i)])) return false;
    }
    return true;
}

}  // namespace

bool ReadWholeFile(const std::string& path, size_t maxSize, std::vector<uint8_t>& out) {
    std::ifstream in(platform::NativePath(path), std::ios::binary | std::ios::ate);
    if (!in) return false;
    const std::streamoff size = in.tellg();
    if (size < 0 || uint64_t(size) > maxSize) return false;
    out.resize(size_t(size));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(out.data()), size);
    return in.gcount() == size;
}

std::string PathFor(int course, const std::string& dir) {
    return dir + std::to_string(course + 1) + "-problem.dat";
}

ProblemType TypeOfCode(int problemCode) {
    switch (problemCode) {
        case 0:
        case 6:
        case 10:
            return ProblemType::PlaySequence;
        case 1:
            return ProblemType::YesNo;
        case 2:
        case 9:
            return ProblemType::PickLetter;
        case 3:
            return ProblemType::MarkPointsA;
        case 4:
        case 8:
            return ProblemType::MarkPoints;
        case 5:
            return ProblemType::Number;
        case 7:
            return ProblemType::Choice;
        default:
            return ProblemType::ShownSequence;
    }
}

uint8_t KindOfFileCode(int fileCode, int aux) {
    switch (fileCode) {
        case 0:
            return aux >= 0 && aux <= 2 ? uint8_t(4 + aux) : 0;
        case 1:
        case 33:
            return 0;
        case 2:
        case 34:
            return 1;
        case 16:
            return 11;
        case 17:
            return 2;
        case 18:
            return 3;
        case 32:
            return 12;
        case 48:
            return 13;
        case 49:
        case 50:
            return 9;
        case 64:
            return 14;
        default:
            return stone::kErased;
    }
}

uint8_t TurnOfCode(int problemCode) {
    if (problemCode == 0 || problemCode == 6) return 0;
    if (problemCode == 10) return 1;
    return 255;
}

const uint8_t* ChoiceOrder(int problemIndex) {
    const int n = problemIndex < 0 ? 0 : problemIndex % 6;
    return kChoiceOrders[n];
}

bool DecodeFile(std::span<const uint8_t> file, int chapterNo, int sectionNo,
                std::span<ProblemRecord> records) {
    bytes::Reader in(file);
    if (!in.Skip(8)) return false;
    for (int block = 0; block < kMaxBlocks; ++block) {
        uint8_t courseTag = 0, chapter = 0, section = 0;
        uint32_t bodySize = 0;
        if (!in.U8(courseTag) || !in.U8(chapter) || !in.U8(section) || !in.U32LE(bodySize)) {
            return false;
        }
        if (!in.has(bodySize)) return false;
        if (chapter == chapterNo && section == sectionNo) {
            return DecodeBlockBody(in.Bytes(bodySize), records);
        }
        in.Skip(bodySize);
    }
    return false;
}

}  // namespace problemfile

namespace {

// Chapters and sections each course's file may hold.
bool SectionInCourse(int course, int chapter, int section) {
    static constexpr int kLimits[3][2] = {{6, 8}, {4, 4}, {2, 5}};
    if (course < 0 || course > 2 || chapter < 0 || section < 0) return false;
    return chapter < kLimits[course][0] && section < kLimits[course][1];
}

}  // namespace

bool LoadProblemSet(ProblemBoard& board, const ProgressState& progress, int chapter, int section,
                    const std::string& dir) {
    const int course = progress.m_course;
    if (!SectionInCourse(course, chapter, section)) return false;
    board = ProblemBoard{};
    board.chapter = uint32_t(chapter);
    board.section = uint32_t(section);

    const int count = progress.ProblemCount(course, chapter + 1, section + 1);
    if (count < 1) return true;
    std::vector<ProblemRecord> records(static_cast<size_t>(count));
    std::vector<uint8_t> file;
    if (!problemfile::ReadWholeFile(problemfile::PathFor(course, dir), problemfile::kMaxFileSize,
                                    file))
        return false;
    if (!problemfile::DecodeFile(file, chapter + 1, section + 1, records)) return false;
    board.records = std::move(records);
    return true;
}

bool LoadProblemSet(ProblemBoard& board, int chapter, int section) {
    return LoadProblemSet(board, TheProgress(), chapter, section);
}
