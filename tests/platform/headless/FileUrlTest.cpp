#include <gtest/gtest.h>

#include "platform/Platform.h"

TEST(FileUrl, WindowsAndPosixPathsWithSpacesAndJapaneseNames) {
    using platform::FileUrl;
    EXPECT_EQ(FileUrl("/usr/share/stonewell/DATA/HELP/index.html"),
              "file:///usr/share/stonewell/DATA/HELP/index.html");
    EXPECT_EQ(FileUrl("C:\\Program Files\\Stonewell\\DATA\\HELP\\index.html"),
              "file:///C:/Program%20Files/Stonewell/DATA/HELP/index.html");
    // 太郎 in UTF-8, byte by byte; and the characters a URL would read as its own.
    EXPECT_EQ(FileUrl("C:\\Users\\\xE5\xA4\xAA\xE9\x83\x8E\\#1?%.html"),
              "file:///C:/Users/%E5%A4%AA%E9%83%8E/%231%3F%25.html");
}
