#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>

#include "Lib/ZIRur/Wnd/TSBgmWnd.h"
#include "app/Application.h"
#include "progress/ProgressState.h"
#include "progress/SaveData.h"
#include "support/PlatformFixture.h"
#include "support/ScratchDir.h"

namespace {

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
    ApplicationTest() { std::filesystem::create_directories(m_root / "DATA"); }
    ~ApplicationTest() override {
        TheProgress().ResetProblemProgress();
        TheProgress().ResetLessonProgress();
    }

    std::vector<uint8_t> SaveFile() const {
        return testsupport::ReadBytes(m_root / "DATA/SAVE/setting.dat");
    }

    testsupport::ScratchDir m_root;
    testsupport::WorkingDirectory m_cwd{std::filesystem::current_path().string()};
};

// Scene 1 earns a solved problem, scene 2 finds it on disk and earns a lesson, which the exit
// processing stores.
TEST_F(ApplicationTest, EachScenesProgressIsOnDiskBeforeTheNextSceneAndAtExit) {
    std::vector<uint8_t> seenBySecondScene;
    Application app;
    app.SetSceneFactory([&](int scene) -> std::unique_ptr<CTSEventWnd> {
        if (scene == 1) {
            return std::make_unique<ActionWnd>(
                [] {
                    LoadSaveData();
                    TheProgress().MarkProblemSolved(0, 0, 2, 0);
                },
                2);
        }
        return std::make_unique<ActionWnd>(
            [&] {
                seenBySecondScene = SaveFile();
                TheProgress().MarkLessonDone(0, 1, 0);
            },
            0);
    });
    std::mutex mutex;
    std::condition_variable ended;
    bool loopEnded = false;
    ASSERT_TRUE(app.Start(m_root.Path(), [&] {
        std::lock_guard lock(mutex);
        loopEnded = true;
        ended.notify_all();
    }));
    {
        std::unique_lock lock(mutex);
        ended.wait(lock, [&] { return loopEnded; });
    }
    EXPECT_EQ(app.Shutdown(), 0);
    ASSERT_EQ(seenBySecondScene.size(), 28976u);
    EXPECT_EQ(seenBySecondScene[569], 1) << "solved byte of the first scene, already stored";
    EXPECT_EQ(SaveFile().at(24 + 8), 1) << "lesson-done byte of course 0, chapter index 1";
}

}  // namespace
