#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <map>

#include "Lib/ZIRur/Graphics/RenderDevice.h"
#include "Lib/ZIRur/Wnd/TSBgmWnd.h"
#include "app/Application.h"
#include "app/GSIgoWndMgr.h"
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

class SceneLoopTest : public HeadlessTest {
protected:
    // Runs the loop where scene n's screen ends with results[n].
    std::vector<std::string> RunWith(std::map<int, uint32_t> results) {
        std::vector<std::string> trace;
        m_platform.SetTraceSink([&](uint64_t, platform::TraceKind kind, const std::string& d) {
            trace.push_back(platform::HeadlessPlatform::TraceName(kind) + " " + d);
        });
        CGSIgoWndMgr manager;
        int scenesEnded = 0;
        manager.m_onSceneEnd = [&] { ++scenesEnded; };
        manager.m_sceneFactory = [&](int scene) {
            return std::make_unique<ActionWnd>([] {}, results.at(scene));
        };
        manager.Run();
        EXPECT_EQ(scenesEnded, int(trace.size()));
        EXPECT_EQ(manager.CurrentWindow(), nullptr) << "the last screen is destroyed";
        EXPECT_FALSE(gfx::RenderDevice::Instance().IsCreated()) << "the device is released";
        return trace;
    }
};

TEST_F(SceneLoopTest, FollowsTheReturnedScenesAndEndsOnSevenOrZero) {
    EXPECT_EQ(RunWith({{1, 2}, {2, 3}, {3, 5}, {5, 6}, {6, 7}}),
              (std::vector<std::string>{"scene 1", "scene 2", "scene 3", "scene 5", "scene 6"}));
    EXPECT_EQ(RunWith({{1, 2}, {2, 0}}), (std::vector<std::string>{"scene 1", "scene 2"}));
}

TEST_F(SceneLoopTest, ExitRequestedBeforeAScenePreventsIt) {
    CGSIgoWndMgr manager;
    int made = 0;
    manager.m_sceneFactory = [&](int) {
        ++made;
        return std::make_unique<ActionWnd>([] {}, 2);
    };
    manager.RequestExit();
    manager.Run();
    EXPECT_EQ(manager.CurrentWindow(), nullptr);
    EXPECT_EQ(made, 1) << "the screen is made but never run";
}

}  // namespace
