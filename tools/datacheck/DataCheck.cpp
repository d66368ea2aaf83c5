#include "datacheck/DataCheck.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>

#include "Lib/ZIRur/File/TIGroup.h"
#include "Lib/ZIRur/Graphics/ImageDecoder.h"
#include "Lib/ZIRur/Sound/WavReader.h"
#include "Lib/ZIRur/Text/TSFont.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/lyt/animation.h"
#include "Lib/lyt/arcResourceAccessor.h"
#include "Lib/lyt/layout.h"
#include "Lib/lyt/pane.h"
#include "Lib/lyt/picture.h"
#include "Lib/lyt/textBox.h"
#include "common/Progress.h"
#include "common/ToolError.h"
#include "lesson/LessonFileNames.h"
#include "lesson/LessonPage.h"
#include "problem/ProblemExplanations.h"
#include "problem/ProblemFile.h"
#include "progress/Curriculum.h"
#include "screens/ScreenAssets.h"
#include "t2gpack/T2GArchive.h"

namespace datacheck {
namespace {

namespace sa = screen_assets;
namespace lyt = LYRALib::lytmgr;

// Font sizes the screens open their fonts at; a font that refuses it cannot draw there.
constexpr uint32_t kFontKey = (uint32_t(sa::kTextSize) << 16) | uint32_t(sa::kTextSize);
// A character every screen's text needs ("囲" of 囲碁).
constexpr char16_t kProbeGlyph = u'\u56F2';

std::string Lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool EndsWith(const std::string& lowerName, const char* tail) {
    const std::string t = tail;
    return lowerName.size() >= t.size() &&
           lowerName.compare(lowerName.size() - t.size(), t.size(), t) == 0;
}

// The last non-empty line the debug log received: the reason a reader gave up.
std::string LastLogLine(const dbglog::Capture& capture) {
    std::string text = capture.Text();
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    const size_t cut = text.rfind('\n');
    std::string line = cut == std::string::npos ? text : text.substr(cut + 1);
    while (!line.empty() && (line.front() == '\t' || line.front() == ' ')) line.erase(0, 1);
    return line;
}

// The layout's accessor, noting every texture a layout asks for that the archive lacks (the
// program would draw that material without its texture, silently).
class RecordingAccessor : public lyt::ArcResourceAccessor {
public:
    void* FindResource(uint32_t type, const char* name, uint32_t* size) override {
        void* found = ArcResourceAccessor::FindResource(type, name, size);
        if (found == nullptr && name != nullptr) missing.emplace_back(name);
        return found;
    }
    std::vector<std::string> missing;
};

// One opened archive: the program's reader plus the names its directory lists.
struct Archive {
    std::string id;
    std::string path;  // relative to the root, as the program names it
    CTIGroup group;
    std::vector<std::string> names;
    // Entries already checked (lower-case), so a shared entry is decoded once.
    std::set<std::string> checked;
    // Layouts built from copies of their entries (the build converts its buffer in place).
    std::map<std::string, std::pair<std::vector<uint8_t>, std::unique_ptr<lyt::Layout>>> layouts;
    RecordingAccessor accessor;
    // The screen that reads this archive; null for archives the program does not read.
    const sa::ScreenNames* screen = nullptr;
};

class Checker {
public:
    Checker(const Options& options, Totals& totals) : mOptions(options), mTotals(totals) {}

    std::vector<Gap> Run() {
        // Steps: the text archive, the common one, each screen's, decoding every entry, and
        // the sounds, lessons and problems; a line once the run has taken a second.
        tools::Progress progress("datacheck", "steps", sa::AllScreens().size() + 4);
        size_t step = 0;
        Archive* text = Wanted("TEXT") ? Open("TEXT", sa::kTextArchive) : nullptr;
        if (text != nullptr) CheckFonts(*text);
        progress.Update(++step);
        Archive* common = Wanted("COMMON") ? Open("COMMON", sa::kCommonArchive) : nullptr;
        if (common != nullptr) CheckCommonTextures(*common);
        progress.Update(++step);
        for (const sa::ScreenNames* screen : sa::AllScreens()) {
            progress.Update(++step);
            if (!Wanted(screen->id)) continue;
            Archive* a = Open(screen->id, screen->archive);
            if (a == nullptr) continue;
            a->screen = screen;
            CheckScreen(*a, *screen);
        }
        // Archives named on the command line that no screen uses are still checked whole.
        for (const std::string& id : mOptions.only) {
            const auto known = KnownArchives();
            if (std::find(known.begin(), known.end(), id) == known.end())
                Open(id, "DATA/IMG/" + id + ".T2G");
        }
        for (auto& a : mArchives) CheckEntries(*a);
        progress.Update(++step);
        if (mOptions.only.empty()) {
            CheckSounds();
            CheckLessons();
            CheckProblems();
        }
        progress.Update(++step);
        return std::move(mGaps);
    }

private:
    bool Wanted(const std::string& id) const {
        return mOptions.only.empty() ||
               std::find(mOptions.only.begin(), mOptions.only.end(), id) != mOptions.only.end();
    }
    void Report(const std::string& file, const std::string& message) {
        mGaps.push_back({file, message});
    }
    std::string Full(const std::string& relative) const {
        return (mOptions.root / relative).string();
    }

    Archive* Open(const std::string& id, const std::string& path) {
        auto a = std::make_unique<Archive>();
        a->id = id;
        a->path = path;
        const std::string full = Full(path);
        std::error_code ec;
        if (!std::filesystem::is_regular_file(full, ec)) {
            Report(path, "missing archive");
            return nullptr;
        }
        if (!a->group.OpenProcess(full.c_str())) {
            Report(path, "is not a readable archive");
            return nullptr;
        }
        // The directory walk of the packer lists the names; the program's reader agreed above.
        try {
            std::ifstream in(full, std::ios::binary);
            std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
            for (const auto& e : t2g::ReadArchive(bytes, path).entries) a->names.push_back(e.name);
        } catch (const tools::ToolError& e) {
            Report(path, e.what());
            return nullptr;
        }
        a->accessor.Attach(&a->group);
        ++mTotals.archives;
        mArchives.push_back(std::move(a));
        return mArchives.back().get();
    }

    std::string EntryFile(const Archive& a, const std::string& entry) const {
        return a.path + ":" + entry;
    }

    // Decodes a texture entry once; reports it missing or undecodable.
    void CheckTexture(Archive& a, const std::string& name) {
        const uint8_t* data = a.group.GetT2IBuffer(name.c_str());
        if (data == nullptr) {
            Report(a.path, "missing texture \"" + name + "\"");
            return;
        }
        if (!a.checked.insert(Lower(name)).second) return;
        gfx::DecodedImage image;
        const std::span<const uint8_t> bytes(data, a.group.GetT2ISize(name.c_str()));
        if (!gfx::DecodeImage(gfx::ImageTypeFromName(name), bytes, image))
            Report(EntryFile(a, name), "does not decode as an image");
    }

    void CheckFont(Archive& a, const std::string& name) {
        if (a.group.GetT2IBuffer(name.c_str()) == nullptr) {
            Report(a.path, "missing font \"" + name + "\"");
            return;
        }
        if (!a.checked.insert(Lower(name)).second) return;
        CTSFont font;
        if (!mFreeType.IsReady() || !font.Load(mFreeType, a.group, name.c_str(), kFontKey)) {
            Report(EntryFile(a, name), "does not load as a font");
        } else if (font.Glyph(kProbeGlyph) == nullptr) {
            Report(EntryFile(a, name), "has no glyph for U+56F2 (Japanese text)");
        }
    }

    void CheckFonts(Archive& text) {
        std::set<std::string> fonts = {sa::kSystemFont, sa::kRoundedFont};
        for (const sa::ScreenNames* screen : sa::AllScreens())
            for (const sa::TextName& row : screen->texts) fonts.insert(row.fontFile);
        for (const std::string& font : fonts) CheckFont(text, font);
    }

    void CheckCommonTextures(Archive& common) {
        std::set<std::string> seen;
        for (const sa::ScreenNames* screen : sa::AllScreens())
            for (const sa::GeneratedTexture& t : sa::TexturesOf(*screen))
                if (t.source == sa::Source::Common && seen.insert(t.texture).second)
                    CheckTexture(common, t.texture);
    }

    // Builds a layout entry once from a copy of its bytes; null when missing or broken.
    lyt::Layout* BuildLayout(Archive& a, const std::string& entry) {
        const std::string key = Lower(entry);
        auto found = a.layouts.find(key);
        if (found != a.layouts.end()) return found->second.second.get();
        const uint8_t* data = a.group.GetT2IBuffer(entry.c_str());
        auto& slot = a.layouts[key];
        if (data == nullptr) return nullptr;
        a.checked.insert(key);
        slot.first.assign(data, data + a.group.GetT2ISize(entry.c_str()));
        auto layout = std::make_unique<lyt::Layout>();
        dbglog::Capture capture;
        a.accessor.missing.clear();
        const bool built = layout->Build(slot.first.data(), slot.first.size(), &a.accessor);
        // Textures the screen attaches from its rows (or the common archive) at run time
        // are found there; only an archive the program reads can lack one.
        std::set<std::string> reported;
        if (a.screen != nullptr)
            for (const sa::GeneratedTexture& t : sa::TexturesOf(*a.screen))
                reported.insert(t.texture);
        for (const std::string& name : a.accessor.missing)
            if (a.screen != nullptr && reported.insert(name).second)
                Report(EntryFile(a, entry),
                       "layout uses texture \"" + name + "\" that the archive lacks");
        if (!built || layout->GetRootPane() == nullptr) {
            const std::string why = LastLogLine(capture);
            Report(EntryFile(a, entry), "layout does not build" + (why.empty() ? "" : ": " + why));
            return nullptr;
        }
        slot.second = std::move(layout);
        return slot.second.get();
    }

    void CheckAnimation(Archive& a, const std::string& entry) {
        const uint8_t* data = a.group.GetT2IBuffer(entry.c_str());
        if (data == nullptr) {
            Report(a.path, "missing animation \"" + entry + "\"");
            return;
        }
        if (!a.checked.insert(Lower(entry)).second) return;
        std::vector<uint8_t> copy(data, data + a.group.GetT2ISize(entry.c_str()));
        lyt::AnimResource res;
        dbglog::Capture capture;
        if (!res.Set(copy.data(), copy.size())) {
            const std::string why = LastLogLine(capture);
            Report(EntryFile(a, entry),
                   "animation does not load" + (why.empty() ? "" : ": " + why));
        }
    }

    void CheckScreen(Archive& a, const sa::ScreenNames& screen) {
        for (const sa::GeneratedTexture& t : sa::TexturesOf(screen))
            if (t.source == sa::Source::Screen) CheckTexture(a, t.texture);
        for (const char* name : screen.animations) CheckAnimation(a, std::string(name) + ".anm");
        if (screen.layout == nullptr) return;
        const std::string entry = std::string(screen.layout) + ".lyt";
        if (a.group.GetT2IBuffer(entry.c_str()) == nullptr) {
            Report(a.path, "missing layout \"" + entry + "\"");
            return;
        }
        lyt::Layout* layout = BuildLayout(a, entry);
        if (layout == nullptr) return;
        const std::string file = EntryFile(a, entry);
        lyt::Pane* root = layout->GetRootPane();
        auto find = [&](const std::string& name, const char* role) -> lyt::Pane* {
            lyt::Pane* pane = root->FindPane(name.c_str(), true);
            if (pane == nullptr) Report(file, "missing pane \"" + name + "\" (" + role + ")");
            return pane;
        };
        auto picture = [&](const std::string& name) {
            lyt::Pane* pane = find(name, "picture");
            if (pane != nullptr && dynamic_cast<lyt::Picture*>(pane) == nullptr)
                Report(file, "pane \"" + name + "\" is not a picture");
        };
        for (const sa::PictureName& row : screen.pictures) picture(row.pane);
        if (screen.families & sa::kListFamily)
            for (const sa::GeneratedPicture& cell : sa::ProblemListCellPictures())
                picture(cell.pane);
        for (const sa::TextName& row : screen.texts) {
            lyt::Pane* pane = find(row.pane, "text");
            if (pane == nullptr) continue;
            auto* box = dynamic_cast<lyt::TextBox*>(pane);
            if (box == nullptr) {
                Report(file, "pane \"" + std::string(row.pane) + "\" is not a text box");
            } else if (int(box->GetFontSize().width) < 1 || int(box->GetFontSize().height) < 1) {
                Report(file, "text box \"" + std::string(row.pane) + "\" has no font size");
            }
        }
        for (const char* name : screen.panes) find(name, "looked up");
    }

    // Every entry must be readable by the reader its kind goes to.
    void CheckEntries(Archive& a) {
        for (const std::string& name : a.names) {
            ++mTotals.entries;
            const std::string lower = Lower(name);
            if (a.checked.count(lower)) continue;
            if (EndsWith(lower, ".tga") || EndsWith(lower, ".tif") || EndsWith(lower, ".tiff") ||
                EndsWith(lower, ".jpg") || EndsWith(lower, ".jpeg")) {
                CheckTexture(a, name);
            } else if (EndsWith(lower, ".lyt")) {
                BuildLayout(a, name);
            } else if (EndsWith(lower, ".anm")) {
                CheckAnimation(a, name);
            } else if (EndsWith(lower, ".otf") || EndsWith(lower, ".ttf")) {
                CheckFont(a, name);
            }
        }
    }

    void CheckSounds() {
        std::set<std::string> sounds;
        for (const sa::ScreenNames* screen : sa::AllScreens())
            for (const char* s : screen->sounds) sounds.insert(s);
        for (const std::string& sound : sounds) {
            ++mTotals.files;
            std::error_code ec;
            if (!std::filesystem::is_regular_file(Full(sound), ec)) {
                Report(sound, "missing sound file");
                continue;
            }
            CWavReader reader;
            if (!reader.Open(Full(sound))) Report(sound, "is not a readable WAV file");
        }
    }

    void CheckLessons() {
        const std::string dir = Full(std::string(lesson::kLessonDirectory));
        for (int course = 0; course < curriculum::kCourses; ++course)
            for (int chapter = 0; chapter < curriculum::kChapters; ++chapter)
                for (int section = 0; section < curriculum::kSections; ++section)
                    if (curriculum::LessonCountAt(course, chapter, section) > 0)
                        CheckLesson({course, chapter, section}, dir);
    }

    void CheckLesson(const lesson::LessonId& id, const std::string& dir) {
        const std::string relDir(lesson::kLessonDirectory);
        const std::string data = lesson::LessonDataFileName(relDir, id);
        const std::string text = lesson::LessonTextFileName(relDir, id);
        bool present = true;
        for (const std::string& f : {data, text}) {
            ++mTotals.files;
            std::error_code ec;
            if (!std::filesystem::is_regular_file(Full(f), ec)) {
                Report(f, "missing lesson file");
                present = false;
            }
        }
        if (!present) return;
        auto page = std::make_unique<lesson::LessonPage>();
        page->currentPage = 0;
        if (lesson::LoadLessonPage(*page, id, dir) != lesson::PageLoadResult::Loaded ||
            page->pageCount < 1) {
            Report(data, "lesson has no loadable first page");
            return;
        }
        for (int p = 1; p < page->pageCount; ++p) {
            page->currentPage = p;
            if (lesson::LoadLessonPage(*page, id, dir) != lesson::PageLoadResult::Loaded) {
                Report(data, "page " + std::to_string(p + 1) + " of " +
                                 std::to_string(page->pageCount) + " does not load");
                return;
            }
        }
    }

    void CheckProblems() {
        const std::string relDir = problemfile::kDefaultDir;
        for (int course = 0; course < curriculum::kCourses; ++course) {
            bool any = false;
            for (int ch = 0; ch < curriculum::kChapters; ++ch)
                for (int sec = 0; sec < curriculum::kSections; ++sec)
                    any = any || curriculum::ProblemCountAt(course, ch, sec) > 0;
            if (!any) continue;
            ++mTotals.files;
            const std::string file = problemfile::PathFor(course, relDir);
            std::error_code ec;
            const auto size = std::filesystem::file_size(Full(file), ec);
            if (ec) {
                Report(file, "missing problem file");
                continue;
            }
            if (size > problemfile::kMaxFileSize) {
                Report(file, "problem file is larger than the program reads");
                continue;
            }
            std::ifstream in(Full(file), std::ios::binary);
            std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
            for (int ch = 0; ch < curriculum::kChapters; ++ch) {
                for (int sec = 0; sec < curriculum::kSections; ++sec) {
                    const int count = curriculum::ProblemCountAt(course, ch, sec);
                    if (count <= 0) continue;
                    std::vector<ProblemRecord> records(static_cast<size_t>(count));
                    if (!problemfile::DecodeFile(bytes, ch + 1, sec + 1, records))
                        Report(file, "section " + std::to_string(ch + 1) + "-" +
                                         std::to_string(sec + 1) + " (" + std::to_string(count) +
                                         " problems) is missing or does not decode");
                }
            }
            CheckExplanations(course, relDir);
        }
    }

    // The program runs without the explanation file, but the data build always writes it:
    // missing, or without an entry per problem, it is a gap.
    void CheckExplanations(int course, const std::string& relDir) {
        ++mTotals.files;
        const std::string file = explanations::PathFor(course, relDir);
        std::error_code ec;
        const auto size = std::filesystem::file_size(Full(file), ec);
        if (ec) {
            Report(file, "missing explanation file");
            return;
        }
        if (size > explanations::kMaxFileSize) {
            Report(file, "explanation file is larger than the program reads");
            return;
        }
        std::ifstream in(Full(file), std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
        for (int ch = 0; ch < curriculum::kChapters; ++ch) {
            for (int sec = 0; sec < curriculum::kSections; ++sec) {
                const int count = curriculum::ProblemCountAt(course, ch, sec);
                if (count <= 0) continue;
                if (explanations::Decode(bytes, ch + 1, sec + 1).size() != size_t(count))
                    Report(file, "section " + std::to_string(ch + 1) + "-" +
                                     std::to_string(sec + 1) + " (" + std::to_string(count) +
                                     " problems) is missing or does not decode");
            }
        }
    }

    const Options& mOptions;
    Totals& mTotals;
    std::vector<Gap> mGaps;
    std::vector<std::unique_ptr<Archive>> mArchives;
    FreeTypeLibrary mFreeType;
};

}  // namespace

std::vector<std::string> KnownArchives() {
    std::vector<std::string> out = {"TEXT", "COMMON"};
    for (const sa::ScreenNames* screen : sa::AllScreens()) out.emplace_back(screen->id);
    return out;
}

std::vector<Gap> CheckDataSet(const Options& options, Totals& totals) {
    return Checker(options, totals).Run();
}

}  // namespace datacheck
