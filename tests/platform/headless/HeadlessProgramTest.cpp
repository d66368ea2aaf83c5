// The headless program itself, on a root whose DATA/ is empty: no screen shows anything or
// offers a button, so a run goes from the logo to the title by time and takes input there.
#include <gtest/gtest.h>

#include <string>

#include "platform/Platform.h"
#include "programs/Script.h"
#include "support/HeadlessRun.h"

namespace {

using namespace testsupport;

const char kTour[] =
    "wait 1000\nshot logo\nwait 1500\nshot title\nclick 100 100\nwait 300\n"
    "move 500 400\nwait 30\nclose no\nwait 100\nshot later\nclick 900 100\nwait 200\n";

TEST(HeadlessProgram, SameScriptGivesTheSameShotsAndTraceEndingInTheExit) {
    const HeadlessRun a({}, false), b({}, false);
    ASSERT_EQ(a.Run(kTour).exitCode, 0);
    ASSERT_EQ(b.Run(kTour).exitCode, 0);
    for (const fs::path name :
         {"shots/logo.png", "shots/title.png", "shots/later.png", "trace.txt"}) {
        const std::string first = ReadText(a.Path() / name);
        ASSERT_FALSE(first.empty()) << name;
        EXPECT_EQ(first, ReadText(b.Path() / name)) << name << " differs between runs";
    }
    // The logo gives way by time (the script cases trace the rest of this run's lines).
    const std::string trace = ReadText(a.Path() / "trace.txt");
    EXPECT_NE(trace.find("\n2000 scene 2\n"), std::string::npos) << trace;
    EXPECT_EQ(Events(trace, "exit").size(), 1u);
    EXPECT_TRUE(trace.ends_with(" exit 0\n")) << trace;
    EXPECT_TRUE(WholeSave(a.SaveFile()));
}

TEST(HeadlessProgram, EndsAsTheScriptOrItsFaultsSay) {
    struct Case {
        const char* script;
        int exitCode;
        const char* error;  // on standard error
        const char* trace;
        long lastMs;  // when the run ended, within a second
    };
    const Case cases[] = {
        // Close answered yes ends the run at once, through the exit processing.
        {"wait 500\nclose yes\nwait 100000\n", 0, "",
         "500 msgbox 「Stonewell」を終了しますか？ -> yes\n", 500},
        {"wait 10\nclick 5\n", 2, "script.txt:2: 'click' takes 2 argument(s)", "", -1},
        // A tap on a pane not on screen ends the run at once, not after the last wait.
        {"wait 100\ntap btn_nowhere\nwait 5000\n", 2,
         "script.txt:2: no visible pane 'btn_nowhere' on screen", "", 100},
        {"wait 10000000\n", 0, "", "", 5000},  // with --max-ms 5000
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        const HeadlessRun run({}, false);
        const Outcome out = run.Run(c.script, {"--max-ms", "5000"});
        EXPECT_EQ(out.exitCode, c.exitCode) << out.errors;
        EXPECT_NE(out.errors.find(c.error), std::string::npos) << out.errors;
        EXPECT_NE(out.trace.find(c.trace), std::string::npos) << out.trace;
        if (c.lastMs < 0) continue;
        EXPECT_GE(ExitTimeIn(out.trace), c.lastMs) << out.trace;
        EXPECT_LT(ExitTimeIn(out.trace), c.lastMs + 1000) << out.trace;
    }
}

TEST(HeadlessProgram, MissingDataFolderIsReportedAndExitsNonZero) {
    const HeadlessRun run({}, false);
    fs::remove_all(run.Data());
    const Outcome out = run.Run("wait 10\n");
    EXPECT_EQ(out.exitCode, 1);
    EXPECT_NE(out.trace.find("msgbox データフォルダが見つかりません: " + run.Data().string()),
              std::string::npos)
        << out.trace;
}

TEST(Script, ReportsTheFirstBadLineByNumber) {
    const std::pair<const char*, const char*> cases[] = {
        {"wait 10\njump 1 2\n", "2: unknown command 'jump'"},
        {"click 10 x\n", "1: malformed y 'x'"},
        {"wait 1.5\n", "1: malformed milliseconds '1.5'"},
        {"# comment\n\nclick 1\n", "3: 'click' takes 2 argument(s)"},
        {"click 1024 0\n", "1: position outside the 1024 x 768 screen"},
        {"answer maybe\n", "1: expected yes or no"},
        {"wait -5\n", "1: negative wait"},
        {"shot ../escape\n", "1: shot names are plain"},
        {"quit now\n", "1: 'quit' takes 0 argument(s)"},
        {"tap\n", "1: 'tap' takes 1 argument(s)"},
        {"tap a_name_of_17_char\n", "1: pane names have at most 16 characters"},
    };
    for (const auto& [text, message] : cases) {
        std::vector<headless::ScriptCommand> commands;
        std::string error;
        EXPECT_FALSE(headless::ParseScript(text, commands, error)) << text;
        EXPECT_EQ(error, message) << text;
    }
}

TEST(FileUrl, WindowsAndPosixPathsWithSpacesAndJapaneseNames) {
    using platform::FileUrl;
    EXPECT_EQ(FileUrl("/usr/share/stonewell/DATA/HELP/index.html"),
              "file:///usr/share/stonewell/DATA/HELP/index.html");
    EXPECT_EQ(FileUrl("C:\\Program Files\\Stonewell\\DATA\\HELP\\index.html"),
              "file:///C:/Program%20Files/Stonewell/DATA/HELP/index.html");
    // 太郎 in UTF-8, byte by byte; and the characters a URL would read as its own.
    EXPECT_EQ(FileUrl("C:\\Users\\\xE5\xA4\xAA\xE9\x83\x8E\\#1?%.html"),
              "file:///C:/Users/%E5%A4%AA%E9%83%8E/%231%3F%25.html");
}

}  // namespace
