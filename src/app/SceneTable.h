#pragma once

#include <memory>

#include "screens/Scene.h"

class CTSEventWnd;

// Constructs the screen object of a scene (not yet run).
std::unique_ptr<CTSEventWnd> CreateSceneScreen(int scene);
