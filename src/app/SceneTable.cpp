#include "app/SceneTable.h"

#include "app/PlaceholderWnd.h"
#include "screens/CopyrightWnd.h"
#include "screens/ExplainWnd.h"
#include "screens/ListWnd.h"
#include "screens/MenuWnd.h"
#include "screens/ProblemWnd.h"
#include "screens/TitleWnd.h"

std::span<const int> NextScenes(int scene) {
    static constexpr int kLogo[] = {kSceneTitle};
    static constexpr int kTitle[] = {kSceneMenu};
    static constexpr int kMenu[] = {kSceneTitle, kSceneLesson, kSceneProblemList};
    static constexpr int kLesson[] = {kSceneMenu};
    static constexpr int kList[] = {kSceneMenu, kSceneProblem};
    static constexpr int kProblem[] = {kSceneMenu, kSceneProblemList};
    switch (scene) {
        case kSceneLogo:
            return kLogo;
        case kSceneTitle:
            return kTitle;
        case kSceneMenu:
            return kMenu;
        case kSceneLesson:
            return kLesson;
        case kSceneProblemList:
            return kList;
        case kSceneProblem:
            return kProblem;
        default:
            return {};
    }
}

std::unique_ptr<CTSEventWnd> CreateSceneScreen(int scene) {
    if (!IsScene(scene)) return nullptr;
    if (scene == kSceneLogo) return std::make_unique<CCopyrightWnd>();
    if (scene == kSceneTitle) return std::make_unique<CTitleWnd>();
    if (scene == kSceneMenu) return std::make_unique<CMenuWnd>();
    if (scene == kSceneLesson) return std::make_unique<CExplainWnd>();
    if (scene == kSceneProblemList) return std::make_unique<CListWnd>();
    if (scene == kSceneProblem) return std::make_unique<CProblemWnd>();
    // The other scenes run a plain stand-in screen until their real screens exist.
    return std::make_unique<CPlaceholderWnd>(scene);
}
