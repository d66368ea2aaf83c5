#include <gtest/gtest.h>

#include "Lib/ZIRur/Graphics/RenderDevice.h"
#include "Lib/ZIRur/Wnd/TSBgmWnd.h"
#include "app/GSIgoWndMgr.h"
#include "support/PlatformFixture.h"

namespace {

// A screen that ends at its start with a fixed result.
class EndingWnd : public CTSBgmWnd {
public:
    explicit EndingWnd(uint32_t result) : m_result(result) {}
    void OnStart() override { EndModal(m_result); }

private:
    uint32_t m_result;
};

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
            return std::make_unique<EndingWnd>(results.at(scene));
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
        return std::make_unique<EndingWnd>(2);
    };
    manager.RequestExit();
    manager.Run();
    EXPECT_EQ(manager.CurrentWindow(), nullptr);
    EXPECT_EQ(made, 1) << "the screen is made but never run";
}

}  // namespace
