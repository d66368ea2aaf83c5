#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs the headless executable in a fresh folder with an empty DATA/; returns its exit code.
class HeadlessProgram : public ::testing::Test {
protected:
    HeadlessProgram() {
        m_dir =
            fs::temp_directory_path() /
            ("sw-headless-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        for (const char* run : {"a", "b"}) fs::create_directories(m_dir / run / "root" / "DATA");
    }
    ~HeadlessProgram() override { fs::remove_all(m_dir); }

    // Each run tag has its own root, so a save file of one run cannot change another.
    int Run(const std::string& script, const std::string& tag, std::string* stderrText = nullptr) {
        std::ofstream(m_dir / "script.txt") << script;
        const fs::path out = m_dir / tag;
        fs::create_directories(out);
        const std::string cmd = std::string(STONEWELL_BINARY_DIR) + "/stonewell-headless" +
                                " --root " + (out / "root").string() + " --script " +
                                (m_dir / "script.txt").string() + " --shots " + out.string() +
                                " --trace " + (out / "trace.txt").string() + " 2>" +
                                (out / "stderr.txt").string();
        int status = std::system(cmd.c_str());
        if (stderrText != nullptr) *stderrText = ReadFile(out / "stderr.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path m_dir;
};

// The folder has no data set, so the screens show nothing and offer no buttons: the run goes
// from the logo to the title by time and takes input there (end-to-end cases with the data
// set live in tests/e2e).
const char kTour[] =
    "wait 1000\nshot logo\nwait 1500\nshot title\nclick 100 100\nwait 300\n"
    "move 500 400\nwait 30\nclose no\nwait 100\nshot later\nclick 900 100\nwait 200\n";

TEST_F(HeadlessProgram, SameScriptGivesIdenticalScreenshotsAndTrace) {
    ASSERT_EQ(Run(kTour, "a"), 0);
    ASSERT_EQ(Run(kTour, "b"), 0);
    for (const char* name : {"logo.png", "title.png", "later.png", "trace.txt"}) {
        const std::string a = ReadFile(m_dir / "a" / name);
        ASSERT_FALSE(a.empty()) << name;
        EXPECT_EQ(a, ReadFile(m_dir / "b" / name)) << name << " differs between runs";
    }
}

TEST_F(HeadlessProgram, TraceFollowsTheScenesAndTheCloseQuestion) {
    ASSERT_EQ(Run(kTour, "a"), 0);
    const std::string trace = ReadFile(m_dir / "a" / "trace.txt");
    EXPECT_NE(trace.find("0 scene 1\n"), std::string::npos) << trace;
    EXPECT_NE(trace.find("2000 scene 2\n"), std::string::npos) << trace;
    EXPECT_NE(trace.find(" msgbox 「Stonewell」を終了しますか？ -> no\n"), std::string::npos);
    EXPECT_NE(trace.find(" save DATA/SAVE/setting.dat 28976\n"), std::string::npos) << trace;
    EXPECT_EQ(trace.substr(trace.rfind('\n', trace.size() - 2) + 1).find("exit 0"),
              trace.substr(trace.rfind('\n', trace.size() - 2) + 1).find(' ') + 1)
        << "the last line is the exit";
    EXPECT_EQ(fs::file_size(m_dir / "a" / "root" / "DATA" / "SAVE" / "setting.dat"), 28976u);
}

TEST_F(HeadlessProgram, CloseAnsweredYesEndsTheRunThroughExitProcessing) {
    ASSERT_EQ(Run("wait 500\nclose yes\nwait 100000\n", "a"), 0);
    const std::string trace = ReadFile(m_dir / "a" / "trace.txt");
    EXPECT_NE(trace.find("500 msgbox 「Stonewell」を終了しますか？ -> yes\n"), std::string::npos)
        << trace;
    EXPECT_EQ(trace.find("scene 2"), std::string::npos) << "the run ended before the title";
    EXPECT_NE(trace.find("exit 0"), std::string::npos);
}

TEST_F(HeadlessProgram, BadScriptsAreRefusedWithTheLineNumber) {
    std::string err;
    EXPECT_EQ(Run("wait 10\nclick 5\n", "a", &err), 2);
    EXPECT_NE(err.find("script.txt:2: 'click' takes 2 argument(s)"), std::string::npos) << err;
}

TEST_F(HeadlessProgram, TapOnAPaneNotOnScreenEndsTheRunWithTheLineNumber) {
    std::string err;
    EXPECT_EQ(Run("wait 100\ntap btn_nowhere\nwait 5000\n", "a", &err), 2);
    EXPECT_NE(err.find("script.txt:2: no visible pane 'btn_nowhere' on screen"), std::string::npos)
        << err;
    // The run ends at once (not after the script's last wait), through the normal exit
    // processing that writes the save file.
    std::istringstream trace(ReadFile(m_dir / "a" / "trace.txt"));
    std::string line, last;
    while (std::getline(trace, line)) last = line;
    long ms = -1;
    std::string what;
    std::istringstream(last) >> ms >> what;
    EXPECT_EQ(what, "exit") << last;
    EXPECT_GE(ms, 100);
    EXPECT_LT(ms, 1000);
}

TEST_F(HeadlessProgram, MissingDataFolderIsReportedAndExitsNonZero) {
    fs::remove_all(m_dir / "a" / "root" / "DATA");
    EXPECT_EQ(Run("wait 10\n", "a"), 1);
    const std::string trace = ReadFile(m_dir / "a" / "trace.txt");
    EXPECT_NE(trace.find("msgbox データフォルダが見つかりません: "), std::string::npos) << trace;
}

TEST_F(HeadlessProgram, MaxMsBoundsARunWithoutAnEnd) {
    std::ofstream(m_dir / "script.txt") << "wait 10000000\n";
    const std::string cmd = std::string(STONEWELL_BINARY_DIR) + "/stonewell-headless --root " +
                            (m_dir / "a" / "root").string() + " --script " +
                            (m_dir / "script.txt").string() + " --max-ms 5000 --trace " +
                            (m_dir / "t.txt").string();
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    const std::string trace = ReadFile(m_dir / "t.txt");
    const auto exitAt = std::stoull(trace.substr(trace.rfind('\n', trace.size() - 2) + 1));
    EXPECT_GE(exitAt, 5000u);
    EXPECT_LT(exitAt, 5200u);
}

}  // namespace

namespace {

// Killing the program at any moment never leaves a broken save file: it is whole, of the
// fixed size, and keeps the progress it held.
TEST_F(HeadlessProgram, SaveFileSurvivesSigkillAtAnyMoment) {
    const fs::path root = m_dir / "a" / "root";
    const fs::path save = root / "DATA" / "SAVE" / "setting.dat";
    fs::create_directories(save.parent_path());
    std::string image(28976, '\0');
    image[0] = 1;    // music on
    image[569] = 1;  // a solved problem
    std::ofstream(save, std::ios::binary) << image;

    // Many scene changes and saves: title, menu, list, back to the menu, and again.
    std::string script = "wait 2100\nclick 10 10\n";
    for (int i = 0; i < 400; ++i) script += "wait 60\nclick 1000 10\nwait 60\nclick 10 10\n";
    std::ofstream(m_dir / "script.txt") << script;

    for (int attempt = 0; attempt < 8; ++attempt) {
        // Odd attempts start without a file, so the run writes one while it may be killed.
        const bool fresh = attempt % 2 == 1;
        if (fresh)
            fs::remove(save);
        else
            std::ofstream(save, std::ios::binary) << image;
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            const std::string exe = std::string(STONEWELL_BINARY_DIR) + "/stonewell-headless";
            const std::string rootArg = root.string(), scriptArg = (m_dir / "script.txt").string();
            freopen("/dev/null", "w", stdout);
            execl(exe.c_str(), exe.c_str(), "--root", rootArg.c_str(), "--script",
                  scriptArg.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        usleep(useconds_t(5000 + attempt * 23000));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        if (fresh && !fs::exists(save)) continue;  // killed before the first scene ended
        ASSERT_EQ(fs::file_size(save), 28976u) << "attempt " << attempt;
        std::ifstream in(save, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        EXPECT_EQ(bytes.str()[0], 1) << "attempt " << attempt;
        if (!fresh) {
            EXPECT_EQ(bytes.str()[569], 1) << "attempt " << attempt;
        }
    }
}

}  // namespace
