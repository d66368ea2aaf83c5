#pragma once

// Scene numbers of the scene loop; any other number ends it. A screen ends with the next one.
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
