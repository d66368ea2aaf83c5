#include <gtest/gtest.h>

#include "../../../tools/sgf2problem/SgfParser.h"

namespace {

// The line and column of the syntax error in `text`, as "line:column".
std::string ErrorAt(const std::string& text) {
    try {
        sgf::ParseCollection(text);
    } catch (const sgf::SyntaxError& e) {
        return std::to_string(e.Line()) + ":" + std::to_string(e.Column());
    }
    return "no error";
}

}  // namespace

TEST(SgfParser, ReadsTreesNodesPropertiesAndVariations) {
    const auto trees = sgf::ParseCollection(
        "(;SZ[19]AB[aa][bb]\n C[x]\n(;B[cc];W[dd])(;B[ee]C[RIGHT]))\n(;KD[ox])");
    ASSERT_EQ(trees.size(), 2u);
    const sgf::Tree& t = trees[0];
    ASSERT_EQ(t.nodes.size(), 1u);
    const sgf::Property* ab = t.nodes[0].Find("AB");
    ASSERT_NE(ab, nullptr);
    EXPECT_EQ(ab->values, (std::vector<std::string>{"aa", "bb"}));
    EXPECT_EQ(t.nodes[0].Find("C")->line, 2);
    EXPECT_EQ(t.nodes[0].Find("XX"), nullptr);
    ASSERT_EQ(t.children.size(), 2u);
    EXPECT_EQ(t.children[0].nodes.size(), 2u);
    EXPECT_EQ(t.children[0].nodes[1].Find("W")->values[0], "dd");
    EXPECT_EQ(t.children[1].nodes[0].Find("C")->values[0], "RIGHT");
    EXPECT_EQ(t.children[1].line, 3);
    EXPECT_EQ(trees[1].line, 4);
}

TEST(SgfParser, ValuesKeepUtf8AndResolveEscapes) {
    const auto trees =
        sgf::ParseCollection("\xEF\xBB\xBF(;C[a\\]b\\\\c]LB[aa:ア]GC[one\\\ntwo]N[\\x])");
    const sgf::Node& n = trees[0].nodes[0];
    EXPECT_EQ(n.Find("C")->values[0], "a]b\\c");
    EXPECT_EQ(n.Find("LB")->values[0], "aa:ア");
    EXPECT_EQ(n.Find("GC")->values[0], "onetwo") << "escaped line break is removed";
    EXPECT_EQ(n.Find("N")->values[0], "x");
}

TEST(SgfParser, SyntaxErrorsCarryTheirPosition) {
    EXPECT_EQ(ErrorAt(""), "1:1") << "empty file";
    EXPECT_EQ(ErrorAt("(;B[aa]"), "1:8") << "missing ')'";
    EXPECT_EQ(ErrorAt("(;B[aa]\n;W[bb"), "2:3") << "unterminated value, at its '['";
    EXPECT_EQ(ErrorAt("(;B[aa]\n  AB )"), "2:6") << "property without value";
    EXPECT_EQ(ErrorAt("(B[aa])"), "1:2") << "node without ';'";
    EXPECT_EQ(ErrorAt("(;B[aa])x"), "1:9") << "text after the last tree";
    EXPECT_EQ(ErrorAt("(;b[aa])"), "1:3") << "lower-case property";
    EXPECT_EQ(ErrorAt("(;B[aa]]"), "1:8") << "stray ']'";
}

TEST(SgfParser, DeepNestingIsRefusedNotOverflowed) {
    std::string deep;
    for (int i = 0; i < 200000; ++i) deep += "(;B[aa]";
    EXPECT_THROW(sgf::ParseCollection(deep), sgf::SyntaxError);
}
