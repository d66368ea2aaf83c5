#include <gtest/gtest.h>

#include "programs/Script.h"

namespace {

using headless::ParseScript;
using headless::ScriptCommand;

TEST(Script, ParsesEveryCommandWithCommentsAndBlankLines) {
    std::vector<ScriptCommand> cmds;
    std::string error;
    ASSERT_TRUE(
        ParseScript("# start\n\nwait 2500\nclick 10 20  # title\npress 1 2\nrelease 3 4\n"
                    "move 5 6\nrclick 7 8\ndclick 9 10\nwheel -120 11 12\nkey 13\n"
                    "shot title\nanswer no\nclose yes\nquit\n",
                    cmds, error))
        << error;
    ASSERT_EQ(cmds.size(), 13u);
    EXPECT_EQ(cmds[0].kind, ScriptCommand::Kind::Wait);
    EXPECT_EQ(cmds[0].value, 2500);
    EXPECT_EQ(cmds[0].line, 3);
    EXPECT_EQ(cmds[1].kind, ScriptCommand::Kind::Click);
    EXPECT_EQ(cmds[1].x, 10);
    EXPECT_EQ(cmds[1].y, 20);
    EXPECT_EQ(cmds[7].kind, ScriptCommand::Kind::Wheel);
    EXPECT_EQ(cmds[7].value, -120);
    EXPECT_EQ(cmds[7].x, 11);
    EXPECT_EQ(cmds[9].name, "title");
    EXPECT_FALSE(cmds[10].yes);
    EXPECT_TRUE(cmds[11].yes);
    EXPECT_EQ(cmds[12].kind, ScriptCommand::Kind::Quit);
}

TEST(Script, TapAndWhereNameAPane) {
    std::vector<ScriptCommand> cmds;
    std::string error;
    ASSERT_TRUE(ParseScript("tap btn_ok\nwhere txt_message\n", cmds, error)) << error;
    ASSERT_EQ(cmds.size(), 2u);
    EXPECT_EQ(cmds[0].kind, ScriptCommand::Kind::Tap);
    EXPECT_EQ(cmds[0].name, "btn_ok");
    EXPECT_EQ(cmds[1].kind, ScriptCommand::Kind::Where);
    EXPECT_EQ(cmds[1].name, "txt_message");
}

TEST(Script, ReportsTheFirstBadLineByNumber) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"wait 10\njump 1 2\n", "2: unknown command 'jump'"},
        {"click 10 x\n", "1: malformed y 'x'"},
        {"wait 1.5\n", "1: malformed milliseconds '1.5'"},
        {"\n\nclick 1\n", "3: 'click' takes 2 argument(s)"},
        {"click 1024 0\n", "1: position outside the 1024 x 768 screen"},
        {"answer maybe\n", "1: expected yes or no"},
        {"wait -5\n", "1: negative wait"},
        {"shot ../escape\n", "1: shot names are plain"},
        {"quit now\n", "1: 'quit' takes 0 argument(s)"},
        {"tap\n", "1: 'tap' takes 1 argument(s)"},
        {"where a b\n", "1: 'where' takes 1 argument(s)"},
        {"tap a_name_of_17_char\n", "1: pane names have at most 16 characters"},
    };
    for (const Case& c : cases) {
        std::vector<ScriptCommand> cmds;
        std::string error;
        EXPECT_FALSE(ParseScript(c.text, cmds, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

}  // namespace
