// datacheck on small data sets made in a scratch folder: a complete one passes, and each
// kind of gap is reported once, against the file it concerns.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "../../../tools/common/JsonSource.h"
#include "../../../tools/datacheck/DataCheck.h"
#include "../../../tools/lytc/LayoutSource.h"
#include "../../Lib/ZIRur/Sound/WavBytes.h"
#include "support/FontArchive.h"
#include "support/ScratchDir.h"
#include "support/T2gWriter.h"
#include "support/TgaWriter.h"

namespace {

using testsupport::T2gEntrySpec;

std::vector<uint8_t> Tga() {
    const auto pixel = [](int x, int y) { return testsupport::Rgba{uint8_t(x * 60), uint8_t(y)}; };
    return testsupport::BuildTga(4, 2, pixel, false);
}

// The message box's layout: six pictures and its text box, with the material `m` as given.
// `swap` turns the text box into a picture and the window picture into a text box.
std::vector<uint8_t> MessageBoxLayout(bool swap = false, const std::string& skip = "",
                                      const std::string& material = R"({"name": "m"})") {
    std::string children;
    auto add = [&](const std::string& name, bool text) {
        if (name == skip) return;
        children += (children.empty() ? "{\"name\": \"" : ", {\"name\": \"") + name +
                    (text ? R"(", "kind": "textbox", "material": "m", "fontSize": [36, 36], )"
                            R"("maxLength": 40})"
                          : R"(", "kind": "picture", "material": "m"})");
    };
    add("background", false);
    add("window", swap);
    for (const char* name : {"btn_no_1", "btn_no_2", "btn_ok_1", "btn_ok_2"}) add(name, false);
    add("txt_message", !swap);
    return lytc::CompileLayout(tools::JsonSource(
        "msg.json", R"({"fonts": ["UIRounded-DemiBold.otf"], "materials": [)" + material +
                        R"(], "root": {"name": "RootPane", "children": [)" + children + "]}}"));
}

std::vector<T2gEntrySpec> MessageBoxEntries() {
    std::vector<T2gEntrySpec> entries;
    for (const char* name : {"MSG_nullBlack.tga", "MSG_window.tga", "btn_no_1.tga", "btn_no_2.tga",
                             "btn_ok_1.tga", "btn_ok_2.tga"})
        entries.push_back({name, Tga()});
    entries.push_back({"MSG.lyt", MessageBoxLayout()});
    return entries;
}

class DataCheck : public ::testing::Test {
protected:
    void Archive(const std::string& name, const std::vector<T2gEntrySpec>& entries) {
        ASSERT_TRUE(testsupport::WriteBytes(mDir / ("DATA/IMG/" + name + ".T2G"),
                                            testsupport::BuildT2g(entries)));
    }
    // The gaps as "file: message" lines.
    std::vector<std::string> Check(std::vector<std::string> only) {
        datacheck::Options options;
        options.root = mDir.Path();
        options.only = std::move(only);
        mTotals = {};
        std::vector<std::string> lines;
        for (const auto& gap : datacheck::CheckDataSet(options, mTotals))
            lines.push_back(gap.file + ": " + gap.message);
        return lines;
    }
    // Every line of `present` is among `lines`, none of `absent`.
    static void ExpectLines(const std::vector<std::string>& lines,
                            const std::vector<std::string>& present,
                            const std::vector<std::string>& absent = {}) {
        const auto has = [&](const std::string& l) {
            return std::find(lines.begin(), lines.end(), l) != lines.end();
        };
        for (const auto& l : present) EXPECT_TRUE(has(l)) << l;
        for (const auto& l : absent) EXPECT_FALSE(has(l)) << l;
    }

    testsupport::ScratchDir mDir;
    datacheck::Totals mTotals;
};

TEST_F(DataCheck, ArchivesAndEveryEntryInThem) {
    ASSERT_TRUE(testsupport::WriteBytes(mDir / "DATA/IMG/MSG.T2G", {'T', '2', 'G', 'F', 1}));
    EXPECT_EQ(Check({"MSG"}),
              std::vector<std::string>{"DATA/IMG/MSG.T2G: is not a readable archive"});
    Archive("MSG", MessageBoxEntries());
    EXPECT_EQ(Check({"MSG"}), std::vector<std::string>{});
    EXPECT_EQ(mTotals.archives, 1);
    EXPECT_EQ(mTotals.entries, 7);
}

TEST_F(DataCheck, TexturesLayoutsAndPanesOfAScreen) {
    using Lines = std::vector<std::string>;
    const std::string msg = "DATA/IMG/MSG.T2G:", lyt = msg + "MSG.lyt: ";
    // Each change to the screen archive with the gaps it makes.
    const std::pair<std::function<void(std::vector<T2gEntrySpec>&)>, Lines> cases[] = {
        {[](auto& e) { e.erase(e.begin() + 5), e[1].data.resize(10); },
         {msg + "MSG_window.tga: does not decode as an image",
          "DATA/IMG/MSG.T2G: missing texture \"btn_ok_2.tga\""}},
        {[](auto& e) { e.pop_back(); }, {"DATA/IMG/MSG.T2G: missing layout \"MSG.lyt\""}},
        {[](auto& e) { e.back().data = MessageBoxLayout(false, "btn_no_2"); },
         {lyt + "missing pane \"btn_no_2\" (picture)"}},
        {[](auto& e) { e.back().data = MessageBoxLayout(true); },
         {lyt + "pane \"window\" is not a picture",
          lyt + "pane \"txt_message\" is not a text box"}},
        {[](auto& e) {
             e.back().data = MessageBoxLayout(
                 false, "", R"({"name": "m", "textures": ["MSG_window.tga", "frame.tga"]})");
         },
         {lyt + "layout uses texture \"frame.tga\" that the archive lacks"}},
    };
    for (const auto& [change, lines] : cases) {
        auto entries = MessageBoxEntries();
        change(entries);
        Archive("MSG", entries);
        EXPECT_EQ(Check({"MSG"}), lines);
    }
    auto entries = MessageBoxEntries();
    entries.back().data[7] = 0x07;  // version 0.7 is older than the program reads
    Archive("MSG", entries);
    auto lines = Check({"MSG"});
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].starts_with(lyt + "layout does not build: Version check")) << lines[0];

    entries = MessageBoxEntries();
    entries.push_back({"extra.tga", {1, 2, 3}});
    entries.push_back({"wave.anm", {'S', 'A', 'N', 'M'}});
    entries.push_back({"other.lyt", {'S', 'L', 'Y', 'T'}});
    entries.push_back({"notes.txt", {'h', 'i'}});  // not a kind the program reads: ignored
    Archive("MSG", entries);
    lines = Check({"MSG"});
    EXPECT_EQ(lines.size(), 3u) << ::testing::PrintToString(lines);
    ExpectLines(lines, {"DATA/IMG/MSG.T2G:extra.tga: does not decode as an image",
                        "DATA/IMG/MSG.T2G:wave.anm: animation does not load: not layout animation "
                        "file."});
    EXPECT_EQ(mTotals.entries, 11);

    Archive("EXTRA", {{"a.tga", Tga()}, {"b.tga", {0}}});
    EXPECT_EQ(Check({"EXTRA"}),
              std::vector<std::string>{"DATA/IMG/EXTRA.T2G:b.tga: does not decode as an image"});
}

TEST_F(DataCheck, FontsOfTheTextArchive) {
    const auto font = testsupport::ReadBytes(testsupport::kJapaneseFontPath);
    if (font.empty()) GTEST_SKIP() << "no Japanese font installed";
    Archive("TEXT", {{"UIGothic-Bold.otf", font}, {"UIRounded-DemiBold.otf", {1, 2, 3, 4}}});
    EXPECT_EQ(Check({"TEXT"}),
              std::vector<std::string>{
                  "DATA/IMG/TEXT.T2G:UIRounded-DemiBold.otf: does not load as a font"});
    Archive("TEXT", {{"UIRounded-DemiBold.otf", font}});
    EXPECT_EQ(Check({"TEXT"}),
              std::vector<std::string>{"DATA/IMG/TEXT.T2G: missing font \"UIGothic-Bold.otf\""});
}

TEST_F(DataCheck, CommonTexturesAreCheckedInTheCommonArchive) {
    Archive("COMMON", {{"COMN_BG.tga", Tga()}});
    // Screen textures are not looked for in the common archive.
    ExpectLines(Check({"COMMON"}),
                {"DATA/IMG/COMMON.T2G: missing texture \"COMN_stone19NumB_63.tga\"",
                 "DATA/IMG/COMMON.T2G: missing texture \"COMN_chara_incorrect.tga\""},
                {"DATA/IMG/COMMON.T2G: missing texture \"COMN_BG.tga\"",
                 "DATA/IMG/COMMON.T2G: missing texture \"F1_correct.tga\""});
}

TEST_F(DataCheck, WholeDataSetReportsSoundsLessonsAndProblems) {
    const std::vector<uint8_t> silence =
        wavtest::Riff({wavtest::Chunk("fmt ", wavtest::FmtBody(1, 2, 22050, 16)),
                       wavtest::Chunk("data", wavtest::Bytes(400))});
    ASSERT_TRUE(testsupport::WriteBytes(mDir / "DATA/SOUND/SE/Set.wav", silence));
    ASSERT_TRUE(testsupport::WriteBytes(mDir / "DATA/SOUND/SE/Menu.wav", {'R', 'I', 'F', 'F'}));
    ASSERT_TRUE(testsupport::WriteBytes(mDir / "DATA/DATA/EXPLAIN/1-1-1.dat", {0, 0, 0, 0}));
    // Course 3 chapter 2 has no lessons.
    ExpectLines(Check({}),
                {"DATA/IMG/TEXT.T2G: missing archive", "DATA/IMG/F_1.T2G: missing archive",
                 "DATA/SOUND/BGM/Game.wav: missing sound file",
                 "DATA/SOUND/SE/Menu.wav: is not a readable WAV file",
                 "DATA/DATA/EXPLAIN/1-1-1.txt: missing lesson file",
                 "DATA/DATA/EXPLAIN/3-1-1.dat: missing lesson file",
                 "DATA/DATA/PROBLEM/1-problem.dat: missing problem file",
                 "DATA/DATA/PROBLEM/3-problem.dat: missing problem file"},
                {"DATA/SOUND/SE/Set.wav: missing sound file",
                 "DATA/SOUND/SE/Set.wav: is not a readable WAV file",
                 "DATA/DATA/EXPLAIN/1-1-1.dat: missing lesson file",
                 "DATA/DATA/EXPLAIN/3-2-1.dat: missing lesson file"});
}

TEST_F(DataCheck, ProblemSectionsMustBeInTheirFile) {
    // A problem file with a header and no blocks: every section with problems is missing.
    ASSERT_TRUE(testsupport::WriteBytes(mDir / "DATA/DATA/PROBLEM/2-problem.dat",
                                        std::vector<uint8_t>(8, 0)));
    const std::string p = "DATA/DATA/PROBLEM/2-problem.dat: section ",
                      gone = " is missing or does not decode";
    ExpectLines(Check({}),
                {p + "1-1 (42 problems)" + gone, p + "3-4 (196 problems)" + gone,
                 "DATA/DATA/PROBLEM/2-comment.dat: missing explanation file"},
                {p + "3-2 (0 problems)" + gone});
}

}  // namespace
