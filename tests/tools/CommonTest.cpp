#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "TempFolder.h"
#include "common/FileIO.h"
#include "common/JsonSource.h"
#include "common/Progress.h"
#include "common/ToolError.h"

TEST(ToolError, DescribesFileLineAndMessage) {
    EXPECT_EQ(tools::ToolError("a.json", 3, "bad").Describe(), "a.json:3: bad");
    EXPECT_EQ(tools::ToolError("a.json", 0, "bad").Describe(), "a.json: bad");
    EXPECT_EQ(tools::ToolError("bad").Describe(), "bad");
}

TEST(JsonSource, KnowsTheLineOfEveryValue) {
    tools::JsonSource src("f.json",
                          "{\n  \"a\": [1,\n    {\"b\": \"x/y\"}],\n  \"c/d\": true\n}\n");
    EXPECT_EQ(src.LineOf(""), 1);
    EXPECT_EQ(src.LineOf("/a"), 2);
    EXPECT_EQ(src.LineOf("/a/0"), 2);
    EXPECT_EQ(src.LineOf("/a/1"), 3);
    EXPECT_EQ(src.LineOf("/a/1/b"), 3);
    EXPECT_EQ(src.LineOf(tools::JsonChild("", "c/d")), 4);
    EXPECT_EQ(src.LineOf("/a/7"), 2);  // missing: nearest enclosing value
    try {
        src.Fail("/a/1/b", "no");
        FAIL();
    } catch (const tools::ToolError& e) {
        EXPECT_EQ(e.Describe(), "f.json:3: no");
    }
}

TEST(JsonSource, NumbersTooLargeAreAFaultOfTheFile) {
    // Found by the layout source fuzz target: the parser's overflow error escaped as a crash.
    EXPECT_THROW(tools::JsonSource("n.json", "{\"name\":44444e4444444444}"), tools::ToolError);
}

TEST(JsonSource, SyntaxErrorsGiveTheLine) {
    try {
        tools::JsonSource("g.json", "{\n\"a\": 1,\n\"b\": }\n");
        FAIL();
    } catch (const tools::ToolError& e) {
        EXPECT_EQ(e.line(), 3);
        EXPECT_EQ(e.file(), "g.json");
    }
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
    TempFolder tmp("fileio");
    auto path = tmp.path() / "sub" / "out.bin";
    tools::WriteText(path, "hello");
    EXPECT_EQ(tools::ReadText(path), "hello");
    EXPECT_FALSE(std::filesystem::exists(path.string() + ".part"));
    EXPECT_THROW(tools::ReadBytes(tmp.path() / "missing"), tools::ToolError);
}
