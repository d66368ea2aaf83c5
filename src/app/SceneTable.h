#pragma once

#include <memory>
#include <span>

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

// The scenes a scene's screen may return, in table order.
std::span<const int> NextScenes(int scene);

// Constructs the screen object of a scene (not yet run).
std::unique_ptr<CTSEventWnd> CreateSceneScreen(int scene);
