// The problem sources of course 1 are teaching material as well as data. The build's lint
// already demands a hint, CR and CW and a comment on every line; this asks for Japanese
// explanations, hints that keep the answer, and a typical wrong try for every problem played on
// the board that the learner can actually reach.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "../../../tools/common/FileIO.h"
#include "../../../tools/sgf2problem/SgfParser.h"

namespace {

std::string Value(const sgf::Node& node, const char* id) {
    const sgf::Property* p = node.Find(id);
    return p && !p->values.empty() ? p->values[0] : std::string();
}

// Whether a text holds more than ASCII, i.e. an explanation in Japanese.
bool HasJapanese(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return uint8_t(c) >= 0x80; });
}

// The comment on the last node of a variation line.
std::string LineComment(const sgf::Tree& line) {
    const sgf::Tree* t = &line;
    while (!t->children.empty()) t = &t->children.front();
    return t->nodes.empty() ? std::string() : Value(t->nodes.back(), "C");
}

// A first move on a setup stone is a line the learner can never reach, so its explanation would
// never be shown.
TEST(CurriculumSources, EveryProblemExplainsItsAnswersAndEveryLineCanBeReached) {
    for (const char* name :
         {"1-1-3", "1-1-4", "1-1-5", "1-1-6", "1-1-7", "1-1-8", "1-2-1", "1-2-2", "1-2-3"}) {
        SCOPED_TRACE(name);
        const std::vector<sgf::Tree> trees = sgf::ParseCollection(
            tools::ReadText(std::string(STONEWELL_SOURCE_DIR) + "/data/problems/" + name + ".sgf"));
        ASSERT_FALSE(trees.empty());
        for (size_t i = 0; i < trees.size(); ++i) {
            SCOPED_TRACE("problem " + std::to_string(i + 1));
            ASSERT_FALSE(trees[i].nodes.empty());
            const sgf::Node& root = trees[i].nodes.front();
            const std::string kind = Value(root, "KD");
            EXPECT_TRUE(HasJapanese(Value(root, "C"))) << "a hint for the learner";
            if (kind == "ox" || kind == "number" || kind == "texts") {
                // The root comment is the hint shown on request: it must not give the answer.
                EXPECT_EQ(Value(root, "C").find("正解"), std::string::npos) << "hint tells all";
                EXPECT_TRUE(HasJapanese(Value(root, "CR")) && HasJapanese(Value(root, "CW")));
                continue;
            }
            std::set<std::string> stones;
            for (const char* id : {"AB", "AW"})
                if (const sgf::Property* p = root.Find(id))
                    stones.insert(p->values.begin(), p->values.end());
            int wrong = 0;
            for (const sgf::Tree& line : trees[i].children) {
                const std::string comment = LineComment(line);
                EXPECT_TRUE(HasJapanese(comment)) << "line at " << line.line;
                wrong += comment.find("RIGHT") == std::string::npos;
                if (kind == "sequence" && !line.nodes.empty()) {
                    EXPECT_EQ(stones.count(Value(line.nodes.front(), "B")), 0u)
                        << "line at " << line.line << " plays on a stone";
                }
            }
            EXPECT_GE(wrong, 1) << "a typical wrong try, explained";
        }
    }
}

}  // namespace
