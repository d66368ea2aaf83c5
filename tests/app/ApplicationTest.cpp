#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Lib/ZIRur/Wnd/TSBgmWnd.h"
#include "app/Application.h"
#include "progress/ProgressState.h"
#include "progress/SaveData.h"
#include "support/PlatformFixture.h"

namespace {

namespace fs = std::filesystem;

// A screen that runs an action at its start, then ends with a fixed result.
class ActionWnd : public CTSBgmWnd {
public:
    ActionWnd(std::function<void()> action, uint32_t result)
        : m_action(std::move(action)), m_result(result) {}
    void OnStart() override {
        m_action();
        EndModal(m_result);
    }

private:
    std::function<void()> m_action;
    uint32_t m_result;
};

class ApplicationTest : public HeadlessTest {
protected:
    ApplicationTest() {
        m_root = fs::temp_directory_path() /
                 ("sw-app-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_root);
        fs::create_directories(m_root / "DATA");
        m_previousDir = fs::current_path();
    }
    ~ApplicationTest() override {
        fs::current_path(m_previousDir);
        fs::remove_all(m_root);
        TheProgress().ResetProblemProgress();
        TheProgress().ResetLessonProgress();
    }

    // Runs the program with the given screens until its scene loop ends, then shuts down.
    int RunScenes(std::function<std::unique_ptr<CTSEventWnd>(int)> factory) {
        Application app;
        app.SetSceneFactory(std::move(factory));
        std::mutex mutex;
        std::condition_variable ended;
        bool loopEnded = false;
        const bool started = app.Start(m_root.string(), [&] {
            std::lock_guard lock(mutex);
            loopEnded = true;
            ended.notify_all();
        });
        EXPECT_TRUE(started);
        if (!started) return -1;
        std::unique_lock lock(mutex);
        ended.wait(lock, [&] { return loopEnded; });
        lock.unlock();
        return app.Shutdown();
    }

    std::string SaveFileBytes() const {
        std::ifstream in(m_root / "DATA" / "SAVE" / "setting.dat", std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    fs::path m_root;
    fs::path m_previousDir;
};

TEST_F(ApplicationTest, ProgressOfAFinishedSceneIsOnDiskBeforeTheNextSceneStarts) {
    std::string seenBySecondScene;
    int code = RunScenes([&](int scene) -> std::unique_ptr<CTSEventWnd> {
        if (scene == 1) {
            // Problem 0 of course 0, chapter index 0, section index 2.
            return std::make_unique<ActionWnd>(
                [] {
                    LoadSaveData();
                    TheProgress().MarkProblemSolved(0, 0, 2, 0);
                },
                2);
        }
        return std::make_unique<ActionWnd>([&] { seenBySecondScene = SaveFileBytes(); }, 0);
    });
    EXPECT_EQ(code, 0);
    ASSERT_EQ(seenBySecondScene.size(), 28976u);
    EXPECT_EQ(seenBySecondScene[569], 1) << "solved byte of the first scene, already stored";
}

TEST_F(ApplicationTest, ExitProcessingStoresWhatTheLastScreenEarned) {
    int code = RunScenes([&](int) {
        return std::make_unique<ActionWnd>(
            [] {
                LoadSaveData();
                TheProgress().MarkLessonDone(0, 1, 0);
            },
            0);
    });
    EXPECT_EQ(code, 0);
    const std::string bytes = SaveFileBytes();
    ASSERT_EQ(bytes.size(), 28976u);
    EXPECT_EQ(bytes[24 + 8], 1) << "lesson-done byte of course 0, chapter index 1, section 0";
}

TEST_F(ApplicationTest, StartFailsWithoutADataFolder) {
    fs::remove_all(m_root / "DATA");
    std::vector<std::string> messages;
    m_platform.SetTraceSink([&](uint64_t, platform::TraceKind kind, const std::string& d) {
        if (kind == platform::TraceKind::MsgBox) messages.push_back(d);
    });
    Application app;
    EXPECT_FALSE(app.Start(m_root.string()));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find((m_root / "DATA").string()), std::string::npos) << messages[0];
}

}  // namespace
