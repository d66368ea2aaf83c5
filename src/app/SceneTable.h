#pragma once

#include <memory>

class CTSEventWnd;

// Scene numbers of the scene loop; any other number ends it.
enum Scene : int {
    kSceneLogo = 1,
    kSceneTitle = 2,
    kSceneMenu = 3,
    kSceneLesson = 4,
    kSceneProblemList = 5,
    kSceneProblem = 6,
};

inline bool IsScene(int n) {
    return n >= kSceneLogo && n <= kSceneProblem;
}

// Constructs the screen object of a scene (not yet run).
std::unique_ptr<CTSEventWnd> CreateSceneScreen(int scene);
