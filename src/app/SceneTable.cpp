#include "app/SceneTable.h"

#include "screens/CopyrightWnd.h"
#include "screens/ExplainWnd.h"
#include "screens/ListWnd.h"
#include "screens/MenuWnd.h"
#include "screens/ProblemWnd.h"
#include "screens/TitleWnd.h"

std::unique_ptr<CTSEventWnd> CreateSceneScreen(int scene) {
    if (!IsScene(scene)) return nullptr;
    if (scene == kSceneLogo) return std::make_unique<CCopyrightWnd>();
    if (scene == kSceneTitle) return std::make_unique<CTitleWnd>();
    if (scene == kSceneMenu) return std::make_unique<CMenuWnd>();
    if (scene == kSceneLesson) return std::make_unique<CExplainWnd>();
    if (scene == kSceneProblemList) return std::make_unique<CListWnd>();
    return std::make_unique<CProblemWnd>();
}
