// The problem sources of course 1 are teaching material as well as data: every problem gives
// the learner a hint, every answer line explains itself, and every problem played on the board
// also explains a typical wrong try.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "../../../tools/sgf2problem/SgfParser.h"

namespace {

struct Source {
    std::string name;
    size_t problems;  // the section's count in the curriculum
};

const std::vector<Source> kSections = {{"1-1-3", 28}, {"1-1-4", 28}, {"1-1-5", 28},
                                       {"1-1-6", 28}, {"1-1-7", 36}, {"1-1-8", 10},
                                       {"1-2-1", 52}, {"1-2-2", 34}, {"1-2-3", 36}};

std::string ReadSource(const std::string& name) {
    std::ifstream in(std::string(STONEWELL_SOURCE_DIR) + "/data/problems/" + name + ".sgf",
                     std::ios::binary | std::ios::ate);
    if (!in) return {};
    std::string text(size_t(in.tellg()), '\0');
    in.seekg(0);
    in.read(text.data(), std::streamsize(text.size()));
    return text;
}

std::string Value(const sgf::Node& node, const char* id) {
    const sgf::Property* p = node.Find(id);
    return p && !p->values.empty() ? p->values[0] : std::string();
}

// Whether a text holds more than ASCII, i.e. an explanation in Japanese.
bool HasJapanese(const std::string& text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    }
    return false;
}

// The comment on the last node of a variation line.
std::string LineComment(const sgf::Tree& line) {
    const sgf::Tree* t = &line;
    while (!t->children.empty()) t = &t->children.front();
    return t->nodes.empty() ? std::string() : Value(t->nodes.back(), "C");
}

// Every problem explains its answers; every line of a problem answered by playing starts on an
// empty point (a first move on a setup stone is a line the learner can never reach, so its
// explanation would never be shown).
TEST(CurriculumSources, EveryProblemExplainsItsAnswersAndEveryLineCanBeReached) {
    for (const Source& source : kSections) {
        SCOPED_TRACE(source.name);
        const std::string text = ReadSource(source.name);
        ASSERT_FALSE(text.empty());
        const std::vector<sgf::Tree> trees = sgf::ParseCollection(text);
        ASSERT_EQ(trees.size(), source.problems);
        for (size_t i = 0; i < trees.size(); ++i) {
            SCOPED_TRACE("problem " + std::to_string(i + 1));
            const sgf::Tree& tree = trees[i];
            ASSERT_FALSE(tree.nodes.empty());
            const sgf::Node& root = tree.nodes.front();
            const std::string kind = Value(root, "KD");
            EXPECT_TRUE(HasJapanese(Value(root, "C"))) << "a hint for the learner";
            if (kind == "ox" || kind == "number" || kind == "texts") {
                // Nothing is played: the root comment is the hint shown on request, so it must
                // not give the answer away; CR says why the answer is right, CW why the other
                // choice is wrong.
                EXPECT_EQ(Value(root, "C").find("正解"), std::string::npos) << "hint tells all";
                EXPECT_TRUE(HasJapanese(Value(root, "CR")));
                EXPECT_TRUE(HasJapanese(Value(root, "CW")));
                continue;
            }
            std::set<std::string> stones;
            for (const char* id : {"AB", "AW"})
                if (const sgf::Property* p = root.Find(id))
                    stones.insert(p->values.begin(), p->values.end());
            int right = 0, wrong = 0;
            for (const sgf::Tree& line : tree.children) {
                const std::string comment = LineComment(line);
                EXPECT_TRUE(HasJapanese(comment)) << "line at " << line.line;
                (comment.find("RIGHT") != std::string::npos ? right : wrong) += 1;
                if (kind == "sequence" && !line.nodes.empty()) {
                    EXPECT_EQ(stones.count(Value(line.nodes.front(), "B")), 0u)
                        << "line at " << line.line << " plays on a stone";
                }
            }
            EXPECT_GE(right, 1);
            EXPECT_GE(wrong, 1) << "a typical wrong try, explained";
        }
    }
}

}  // namespace
