#pragma once

#include <gtest/gtest.h>

#include "platform/headless/HeadlessPlatform.h"

// Installs a headless platform (virtual clock starting at 0) for the duration of a test.
class HeadlessTest : public ::testing::Test {
protected:
    HeadlessTest() { platform::SetPlatform(&m_platform); }
    ~HeadlessTest() override { platform::SetPlatform(nullptr); }

    platform::HeadlessPlatform m_platform;
};
