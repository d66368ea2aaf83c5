#include "lesson/LessonPage.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "Lib/ZIRur/Util/ByteReader.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "lesson/LessonBoardOps.h"
#include "lesson/LessonFileNames.h"
#include "lesson/LessonText.h"
#include "platform/Platform.h"

namespace lesson {
namespace {

constexpr size_t kHeaderBytes = 28;
constexpr size_t kEntryBytes = 4;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File Open(const std::string& path) {
    return File(platform::OpenFile(path, "rb"));
}

// Sequential reads of an untrusted file: every read says how much it really got.
class DataFile {
public:
    explicit DataFile(std::FILE* file) : m_file(file) {}

    bool ReadExact(uint8_t* out, size_t size) { return ReadUpTo(out, size) == size; }
    size_t ReadUpTo(uint8_t* out, size_t size) {
        return size == 0 ? 0 : std::fread(out, 1, size, m_file);
    }
    bool ReadS32(int32_t& value) {
        uint8_t raw[4];
        if (!ReadExact(raw, sizeof raw)) return false;
        bytes::Reader reader(raw, sizeof raw);
        return reader.S32LE(value);
    }
    // Passes over `size` bytes by reading them, so that a file ending early is noticed.
    bool Skip(uint64_t size) {
        uint8_t scratch[4096];
        while (size > 0) {
            const size_t chunk = size_t(std::min<uint64_t>(size, sizeof scratch));
            if (!ReadExact(scratch, chunk)) return false;
            size -= chunk;
        }
        return true;
    }

private:
    std::FILE* m_file;
};

bool ParseHeader(const uint8_t* raw, LessonPageHeader& header) {
    bytes::Reader reader(raw, kHeaderBytes);
    int32_t* fields[] = {&header.characterPose, &header.windowMode,  &header.boardSize,
                         &header.stepCount,     &header.autoAdvance, &header.showFinal,
                         &header.textFirst};
    for (int32_t* field : fields) reader.S32LE(*field);
    return reader.ok();
}

// Reads one page record. With `page` null the record is only passed over. False once the
// file ended inside the record; what was read completely is kept.
bool ReadRecord(DataFile& file, LessonPage* page) {
    uint8_t raw[kHeaderBytes];
    if (!file.ReadExact(raw, sizeof raw)) return false;
    LessonPageHeader header;
    ParseHeader(raw, header);
    const int32_t fileSteps = header.stepCount;
    if (fileSteps > kMaxSteps) {
        TS_WARN("stepCount", fileSteps, "lesson page has more steps than %d; the rest is ignored\n",
                kMaxSteps);
    }
    header.stepCount = std::clamp(fileSteps, 0, kMaxSteps);
    if (page) {
        page->header = header;
        page->entryCounts = {};
        page->entries = {};
    }
    for (int32_t s = 0; s < fileSteps; ++s) {
        int32_t count = 0;
        if (!file.ReadS32(count)) return false;
        const uint64_t total = count > 0 ? uint64_t(count) : 0;
        const bool stored = page && s < kMaxSteps;
        if (!stored) {
            if (!file.Skip(total * kEntryBytes)) return false;
            continue;
        }
        if (total > uint64_t(kMaxEntriesPerStep)) {
            TS_WARN("entryCount", count,
                    "lesson step has more entries than %d; the rest is ignored\n",
                    kMaxEntriesPerStep);
        }
        const size_t kept = size_t(std::min<uint64_t>(total, kMaxEntriesPerStep));
        uint8_t rawEntries[kMaxEntriesPerStep * kEntryBytes];
        const size_t got = file.ReadUpTo(rawEntries, kept * kEntryBytes) / kEntryBytes;
        bytes::Reader reader(rawEntries, got * kEntryBytes);
        auto& row = page->entries[size_t(s)];
        for (size_t i = 0; i < got; ++i) {
            reader.U8(row[i].x);
            reader.U8(row[i].y);
            reader.U16LE(row[i].code);
        }
        // Only entries that were really in the file count.
        page->entryCounts[size_t(s)] = int32_t(got);
        if (got < kept) return false;
        if (!file.Skip((total - kept) * kEntryBytes)) return false;
    }
    return true;
}

// The whole text file (up to kMaxTextFileBytes).
std::vector<uint8_t> ReadText(std::FILE* file) {
    std::vector<uint8_t> text;
    uint8_t chunk[4096];
    while (text.size() < kMaxTextFileBytes) {
        const size_t want = std::min(sizeof chunk, kMaxTextFileBytes - text.size());
        const size_t got = std::fread(chunk, 1, want, file);
        text.insert(text.end(), chunk, chunk + got);
        if (got < want) break;
    }
    return text;
}

}  // namespace

std::span<const StepEntry> LessonPage::StepEntries(int step) const {
    if (step < 0 || step >= kMaxSteps) return {};
    const int32_t count = std::clamp(entryCounts[size_t(step)], 0, kMaxEntriesPerStep);
    return std::span<const StepEntry>(entries[size_t(step)].data(), size_t(count));
}

void LessonPage::ClearSteps() {
    entryCounts = {};
    header = {};
    entries = {};
}

PageLoadResult LoadLessonPage(LessonPage& page, const LessonId& id, std::string_view directory) {
    page.ClearSteps();
    {
        File data = Open(LessonDataFileName(directory, id));
        if (!data) return PageLoadResult::NoDataFile;
        DataFile file(data.get());
        int32_t count = 0;
        if (file.ReadS32(count)) {
            page.pageCount = count;
            // The file has no index: every earlier record is read to find this one.
            bool more = true;
            for (int32_t i = 0; more && i < page.currentPage; ++i) more = ReadRecord(file, nullptr);
            if (more && page.currentPage >= 0) ReadRecord(file, &page);
        }
    }
    File textFile = Open(LessonTextFileName(directory, id));
    if (!textFile) return PageLoadResult::NoTextFile;
    const std::vector<uint8_t> text = ReadText(textFile.get());
    PageText lines = ExtractPageText(text, page.currentPage);
    page.caption = std::move(lines.caption);
    page.body = lines.body.empty() ? std::string() : WrapBody(lines.body);
    page.bodyLength = int32_t(page.body.size());

    page.boardSize = page.header.boardSize;
    page.board.Clear();
    page.currentStep = page.header.showFinal == 1 ? page.header.stepCount - 1 : 0;
    RebuildBoard(page, id, page.currentStep, page.board);
    page.stoneMovePage = IsStoneMovePage(page, id) ? 1 : 0;
    return PageLoadResult::Loaded;
}

}  // namespace lesson
