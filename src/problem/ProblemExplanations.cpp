#include "problem/ProblemExplanations.h"

#include <algorithm>

#include "Lib/ZIRur/Util/ByteReader.h"
#include "lesson/LessonText.h"
#include "problem/ProblemFile.h"

namespace explanations {
namespace {

constexpr uint8_t kMagic[4] = {'C', 'M', 'N', 'T'};
constexpr uint16_t kVersion = 1;

bool IsTrailByte(uint8_t b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// The balloon wraps and types the text byte by byte: control bytes or a cut double-byte
// character would break it, so a text holding either breaks the block.
bool IsCleanShiftJis(std::span<const uint8_t> text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const uint8_t b = text[i];
        if (b < 0x20 || b == 0x7F) return false;
        if (lesson::IsShiftJisLeadByte(b)) {
            if (i + 1 >= text.size() || !IsTrailByte(text[i + 1])) return false;
            ++i;
        }
    }
    return true;
}

bool ReadText(bytes::Reader& in, std::string& out) {
    uint16_t length = 0;
    if (!in.U16LE(length) || length > kMaxTextBytes) return false;
    const std::span<const uint8_t> text = in.Bytes(length);
    if (!in.ok() || !IsCleanShiftJis(text)) return false;
    out.assign(reinterpret_cast<const char*>(text.data()), text.size());
    return true;
}

bool ReadWrongTry(bytes::Reader& in, WrongTry& wrong) {
    uint8_t count = 0;
    if (!in.U8(count) || count > kMaxMoves) return false;
    wrong.moves.resize(count);
    for (LineMove& m : wrong.moves) {
        if (!in.U8(m.x) || !in.U8(m.y)) return false;
        if (m.x > kMaxCoordinate || m.y > kMaxCoordinate) return false;
    }
    return ReadText(in, wrong.comment);
}

bool ReadProblem(bytes::Reader& in, ProblemExplanation& p) {
    if (!ReadText(in, p.hint)) return false;
    uint8_t rightCount = 0;
    if (!in.U8(rightCount) || rightCount > kMaxRight) return false;
    p.right.resize(rightCount);
    for (std::string& r : p.right) {
        if (!ReadText(in, r)) return false;
    }
    uint8_t wrongCount = 0;
    if (!in.U8(wrongCount) || wrongCount > kMaxWrong) return false;
    p.wrong.resize(wrongCount);
    for (WrongTry& w : p.wrong) {
        if (!ReadWrongTry(in, w)) return false;
    }
    return true;
}

std::vector<ProblemExplanation> DecodeBody(std::span<const uint8_t> body) {
    bytes::Reader in(body);
    uint16_t count = 0;
    if (!in.U16LE(count) || count > kMaxProblems) return {};
    std::vector<ProblemExplanation> out(count);
    for (ProblemExplanation& p : out) {
        if (!ReadProblem(in, p)) return {};
    }
    // Bytes left over mean the writer and this reader disagree on the layout.
    if (in.remaining() != 0) return {};
    return out;
}

}  // namespace

std::string PathFor(int course, const std::string& dir) {
    return dir + std::to_string(course + 1) + "-comment.dat";
}

std::vector<ProblemExplanation> Decode(std::span<const uint8_t> file, int chapterNo,
                                       int sectionNo) {
    bytes::Reader in(file);
    const std::span<const uint8_t> magic = in.Bytes(4);
    uint16_t version = 0, reserved = 0;
    if (!in.U16LE(version) || !in.U16LE(reserved)) return {};
    if (!std::equal(magic.begin(), magic.end(), kMagic) || version != kVersion) return {};
    for (int block = 0; block < kMaxBlocks; ++block) {
        uint8_t courseTag = 0, chapter = 0, section = 0;
        uint32_t bodySize = 0;
        if (!in.U8(courseTag) || !in.U8(chapter) || !in.U8(section) || !in.U32LE(bodySize)) {
            return {};
        }
        const std::span<const uint8_t> body = in.Bytes(bodySize);
        if (!in.ok()) return {};
        if (chapter == chapterNo && section == sectionNo) return DecodeBody(body);
    }
    return {};
}

std::vector<ProblemExplanation> Load(int course, int chapterNo, int sectionNo,
                                     const std::string& dir) {
    std::vector<uint8_t> file;
    if (course < 0 || !problemfile::ReadWholeFile(PathFor(course, dir), kMaxFileSize, file))
        return {};
    return Decode(file, chapterNo, sectionNo);
}

}  // namespace explanations
