#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "ToolErrorOf.h"
#include "common/FileIO.h"
#include "common/JsonSource.h"
#include "common/Progress.h"
#include "common/ToolError.h"
#include "support/ScratchDir.h"

TEST(JsonSource, KnowsTheLineOfEveryValueAndOfEveryFault) {
    EXPECT_EQ(tools::ToolError("bad").Describe(), "bad");
    tools::JsonSource src("f.json",
                          "{\n  \"a\": [1,\n    {\"b\": \"x/y\"}],\n  \"c/d\": true\n}\n");
    EXPECT_EQ(src.LineOf("/a/1/b"), 3);
    EXPECT_EQ(src.LineOf(tools::JsonChild("", "c/d")), 4);
    EXPECT_EQ(src.LineOf("/a/7"), 2);  // missing: nearest enclosing value
    EXPECT_EQ(tooltest::ErrorOf([] {
                  tools::JsonSource("g.json", "{\n\"a\": 1,\n\"b\": }\n");
              }).substr(0, 9),
              "g.json:3:");
    // Found by the layout source fuzz target: the parser's overflow error escaped as a crash.
    EXPECT_THROW(tools::JsonSource("n.json", "{\"name\":44444e4444444444}"), tools::ToolError);
}

TEST(Progress, SilentForShortRunsThenAtMostOncePerSecond) {
    std::FILE* sink = std::tmpfile();
    ASSERT_NE(sink, nullptr);
    {
        tools::Progress quick("tool", "items", 10, sink);
        quick.Update(5);
        quick.Update(10);
        EXPECT_EQ(quick.linesPrinted(), 0);
    }
    {
        tools::Progress slow("tool", "items", 10, sink);
        slow.PretendElapsed(1.5);
        slow.Update(3);
        slow.Update(4);  // less than a second after the last line
        EXPECT_EQ(slow.linesPrinted(), 1);
    }
    std::rewind(sink);
    char buf[256] = {};
    size_t n = std::fread(buf, 1, sizeof buf - 1, sink);
    std::fclose(sink);
    EXPECT_EQ(std::string(buf, n), "tool: items 3/10\ntool: items 4/10 done\n");
}

TEST(FileIO, WritesThroughATemporaryAndReadsBack) {
    testsupport::ScratchDir tmp;
    const std::filesystem::path path = tmp / "sub/out.bin";
    tools::WriteText(path, "hello");
    EXPECT_EQ(tools::ReadText(path), "hello");
    EXPECT_FALSE(std::filesystem::exists(path.string() + ".part"));
    EXPECT_THROW(tools::ReadBytes(tmp / "missing"), tools::ToolError);
}
