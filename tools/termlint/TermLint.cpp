#include "termlint/TermLint.h"

#include <algorithm>
#include <charconv>
#include <set>

#include "sgf2problem/SgfParser.h"

namespace termlint {
namespace {

constexpr std::string_view kOpen = "（";
constexpr std::string_view kClose = "）";
// Kanji numerals: running text writes numbers in full-width digits; a kanji numeral is only
// allowed inside a glossary entry (一眼, 四隅, 一度).
constexpr std::string_view kKanjiNumerals[] = {"一", "二", "三", "四", "五", "六",
                                               "七", "八", "九", "十", "百", "千"};

size_t CharLength(std::string_view text, size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    size_t n = 1;
    if (lead >= 0xF0) {
        n = 4;
    } else if (lead >= 0xE0) {
        n = 3;
    } else if (lead >= 0xC0) {
        n = 2;
    }
    return std::min(n, text.size() - pos);
}

std::string_view Trim(std::string_view s) {
    const size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string_view::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    size_t pos = 0;
    while (pos < line.size()) {
        const size_t b = line.find_first_not_of(" \t\r", pos);
        if (b == std::string_view::npos) break;
        size_t e = line.find_first_of(" \t\r", b);
        if (e == std::string_view::npos) e = line.size();
        words.push_back(line.substr(b, e - b));
        pos = e;
    }
    return words;
}

// Splits a source into lines, numbered from 1.
template <typename F>
void ForEachLine(std::string_view text, F&& f) {
    int number = 0;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        ++number;
        f(number, text.substr(pos, end - pos));
        if (end == text.size()) break;
        pos = end + 1;
    }
}

std::string Quote(std::string_view s) {
    return "'" + std::string(s) + "'";
}

// A term whose lesson comes after `id`, seen in a text of `id`.
std::string TooEarly(const GlossaryEntry& e, LessonId id) {
    return Quote(e.bare) + " is first taught in lesson " + e.lesson.Name() + ", after this one (" +
           id.Name() + ")";
}

std::string BannedMessage(const GlossaryEntry& e) {
    return Quote(e.bare) + " is too hard for a beginner: say it in plain words";
}

// A numeral outside every glossary entry at `pos` (one character): a half-width digit or a kanji
// numeral, as in 四つ or 二目. Fixed terms (一眼, 両アタリ) and ordinary words (一度) are entries,
// so the caller has already stepped over them.
bool IsStrayNumeral(std::string_view ch) {
    const bool ascii = ch.size() == 1 && ch[0] >= '0' && ch[0] <= '9';
    return ascii || std::find(std::begin(kKanjiNumerals), std::end(kKanjiNumerals), ch) !=
                        std::end(kKanjiNumerals);
}

std::string NumeralMessage(std::string_view ch, const Glossary& glossary) {
    return Quote(ch) +
           " in running text: write numbers in full-width digits (３目, ４つ); fixed terms in "
           "kanji are listed in " +
           glossary.file;
}

}  // namespace

std::string Finding::Format() const {
    if (line <= 0) return file + ": " + message;
    return file + ":" + std::to_string(line) + ": " + message;
}

std::string LessonId::Name() const {
    return std::to_string(course) + "-" + std::to_string(chapter) + "-" + std::to_string(section);
}

std::optional<LessonId> ParseLessonId(std::string_view name) {
    const size_t slash = name.find_last_of('/');
    if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
    const size_t dot = name.find('.');
    if (dot != std::string_view::npos) name = name.substr(0, dot);
    // Exactly digit-digit-digit: course 1..3, chapter 1..6, section 1..8.
    if (name.size() != 5 || name[1] != '-' || name[3] != '-') return std::nullopt;
    const LessonId id{name[0] - '0', name[2] - '0', name[4] - '0'};
    if (id.course < 1 || id.course > 3 || id.chapter < 1 || id.chapter > 6 || id.section < 1 ||
        id.section > 8) {
        return std::nullopt;
    }
    return id;
}

Glossary::Match Glossary::At(std::string_view text, size_t pos) const {
    Match best;
    const std::string_view rest = text.substr(pos);
    for (const GlossaryEntry& e : entries) {
        if (e.written.size() > best.length && rest.starts_with(e.written) && e.written != e.bare) {
            best = {&e, e.written.size(), true};
        }
        if (e.bare.size() > best.length && rest.starts_with(e.bare)) {
            best = {&e, e.bare.size(), false};
        }
    }
    return best;
}

const GlossaryEntry* Glossary::FindTerm(std::string_view bare) const {
    for (const GlossaryEntry& e : entries) {
        if (e.kind == EntryKind::Term && e.bare == bare) return &e;
    }
    return nullptr;
}

Glossary ParseGlossary(std::string_view text, const std::string& file,
                       std::vector<Finding>& findings) {
    Glossary glossary;
    glossary.file = file;
    std::map<std::string, int> seen;
    ForEachLine(text, [&](int number, std::string_view raw) {
        const std::string_view line = Trim(raw);
        if (line.empty() || line[0] == '#') return;
        const std::vector<std::string_view> words = Words(line);
        auto fail = [&](const std::string& message) {
            findings.push_back({file, number, message});
        };
        if (words.size() != 2) {
            fail("a glossary line is: FORM LESSON (C-H-S, 'word' or 'banned')");
            return;
        }
        GlossaryEntry e;
        e.line = number;
        e.written = std::string(words[0]);
        const size_t open = words[0].find(kOpen);
        if (open == std::string_view::npos) {
            e.bare = e.written;
        } else {
            const size_t close = words[0].find(kClose, open);
            if (close == std::string_view::npos || close == open + kOpen.size() || open == 0) {
                fail(Quote(words[0]) +
                     ": a reading is written TERM（よみ） after the characters it reads");
                return;
            }
            e.bare = std::string(words[0].substr(0, open)) +
                     std::string(words[0].substr(close + kClose.size()));
        }
        if (words[1] == "word") {
            e.kind = EntryKind::Word;
        } else if (words[1] == "banned") {
            e.kind = EntryKind::Banned;
        } else if (const auto id = ParseLessonId(words[1])) {
            e.lesson = *id;
        } else {
            fail(Quote(words[1]) + " is not a lesson (C-H-S), 'word' or 'banned'");
            return;
        }
        if (e.kind != EntryKind::Term && e.written != e.bare) {
            fail(Quote(e.written) + ": only a term carries a reading");
            return;
        }
        const auto [it, fresh] = seen.emplace(e.bare, number);
        if (!fresh) {
            fail(Quote(e.bare) + " is listed twice (first on line " + std::to_string(it->second) +
                 ")");
            return;
        }
        glossary.entries.push_back(std::move(e));
    });
    return glossary;
}

Concepts ParseConcepts(std::string_view text, const std::string& file, const Glossary& glossary,
                       const std::vector<std::string>& questionTexts,
                       std::vector<Finding>& findings) {
    Concepts concepts;
    concepts.file = file;
    const int count = static_cast<int>(questionTexts.size());
    ForEachLine(text, [&](int number, std::string_view raw) {
        const std::string_view line = Trim(raw);
        if (line.empty() || line[0] == '#') return;
        const std::vector<std::string_view> words = Words(line);
        int q = -1;
        const auto [p, ec] = std::from_chars(words[0].data(), words[0].data() + words[0].size(), q);
        if (ec != std::errc() || p != words[0].data() + words[0].size() || q < 0 || q >= count) {
            findings.push_back({file, number,
                                "a line starts with a question index 0.." +
                                    std::to_string(count - 1) + ", not " + Quote(words[0])});
            return;
        }
        if (concepts.lines.contains(q)) {
            findings.push_back({file, number,
                                "question " + std::to_string(q) +
                                    " is listed twice (first on line " +
                                    std::to_string(concepts.lines[q]) + ")"});
            return;
        }
        concepts.lines[q] = number;
        std::vector<const GlossaryEntry*>& keys = concepts.questions[q];
        for (size_t i = 1; i < words.size(); ++i) {
            const GlossaryEntry* term = glossary.FindTerm(words[i]);
            if (term == nullptr) {
                findings.push_back(
                    {file, number, Quote(words[i]) + " is not a term of " + glossary.file});
            } else {
                keys.push_back(term);
            }
        }
        // What the learner reads must be registered.
        const std::string& question = questionTexts[static_cast<size_t>(q)];
        for (size_t pos = 0; pos < question.size();) {
            const Glossary::Match m = glossary.At(question, pos);
            if (m.entry == nullptr) {
                pos += CharLength(question, pos);
                continue;
            }
            if (m.entry->kind == EntryKind::Term &&
                std::find(keys.begin(), keys.end(), m.entry) == keys.end()) {
                findings.push_back({file, number,
                                    "question " + std::to_string(q) + " says " +
                                        Quote(m.entry->bare) +
                                        ", which is not among its key words"});
                keys.push_back(m.entry);
            }
            pos += m.length;
        }
    });
    for (int q = 0; q < count; ++q) {
        if (!concepts.lines.contains(q)) {
            findings.push_back({file, 0, "question " + std::to_string(q) + " has no line"});
        }
    }
    return concepts;
}

std::vector<TextLine> LessonText(std::string_view source) {
    std::vector<TextLine> lines;
    ForEachLine(source, [&](int number, std::string_view raw) {
        const std::string_view line = Trim(raw);
        const std::vector<std::string_view> words = Words(line);
        if (words.empty() || (words[0] != "caption" && words[0] != "body")) return;
        lines.push_back(
            {number, words[0] == "caption", std::string(Trim(line.substr(words[0].size())))});
    });
    return lines;
}

TermUses LintLesson(const Glossary& glossary, LessonId id, const std::string& file,
                    std::string_view source, std::vector<Finding>& findings) {
    TermUses uses;
    std::set<const GlossaryEntry*> read;
    for (const TextLine& line : LessonText(source)) {
        const std::string& text = line.text;
        bool numberReported = false;
        for (size_t pos = 0; pos < text.size();) {
            const Glossary::Match m = glossary.At(text, pos);
            if (m.entry != nullptr) {
                const GlossaryEntry& e = *m.entry;
                if (e.kind == EntryKind::Banned) {
                    findings.push_back({file, line.line, BannedMessage(e)});
                } else if (e.kind == EntryKind::Term) {
                    uses.emplace(&e, line.line);
                    if (id < e.lesson) findings.push_back({file, line.line, TooEarly(e, id)});
                    // A caption is a title: the reading belongs to the body that follows it.
                    const bool judged = !line.caption || m.withBracket;
                    if (e.written != e.bare && judged && read.insert(&e).second && !m.withBracket) {
                        findings.push_back({file, line.line,
                                            "first use of " + Quote(e.bare) +
                                                " in this lesson needs its reading: " + e.written});
                    }
                }
                pos += m.length;
                continue;
            }
            const size_t n = CharLength(text, pos);
            const std::string_view ch(text.data() + pos, n);
            if (IsStrayNumeral(ch) && !numberReported) {
                numberReported = true;
                findings.push_back({file, line.line, NumeralMessage(ch, glossary)});
            }
            pos += n;
        }
    }
    return uses;
}

void LintProblems(const Glossary& glossary, const Concepts& concepts, LessonId id,
                  const std::string& file, std::string_view source,
                  const std::map<LessonId, TermUses>& taught, std::vector<Finding>& findings) {
    std::vector<sgf::Tree> trees;
    try {
        trees = sgf::ParseCollection(source);
    } catch (const sgf::SyntaxError& error) {
        findings.push_back({file, error.Line(), error.what()});
        return;
    }
    // Comments are what the learner reads: the hint (root C), the explanation of a line (C on
    // its last node) and of a choice (CR for the right one, CW for the wrong ones).
    auto lintComments = [&](const sgf::Tree& tree, auto& self) -> void {
        for (const sgf::Node& node : tree.nodes) {
            for (const char* name : {"C", "CR", "CW"}) {
                const sgf::Property* comment = node.Find(name);
                if (comment == nullptr) continue;
                for (const std::string& text : comment->values) {
                    bool numberReported = false;
                    for (size_t pos = 0; pos < text.size();) {
                        const Glossary::Match m = glossary.At(text, pos);
                        if (m.entry == nullptr) {
                            const size_t n = CharLength(text, pos);
                            const std::string_view ch(text.data() + pos, n);
                            if (IsStrayNumeral(ch) && !numberReported) {
                                numberReported = true;
                                findings.push_back(
                                    {file, comment->line, NumeralMessage(ch, glossary)});
                            }
                            pos += n;
                            continue;
                        }
                        if (m.entry->kind == EntryKind::Banned) {
                            findings.push_back({file, comment->line, BannedMessage(*m.entry)});
                        } else if (m.entry->kind == EntryKind::Term && id < m.entry->lesson) {
                            findings.push_back({file, comment->line, TooEarly(*m.entry, id)});
                        }
                        pos += m.length;
                    }
                }
            }
        }
        for (const sgf::Tree& child : tree.children) self(child, self);
    };
    std::set<int> questionsDone;
    for (size_t i = 0; i < trees.size(); ++i) {
        lintComments(trees[i], lintComments);
        if (trees[i].nodes.empty()) continue;
        const sgf::Property* qi = trees[i].nodes.front().Find("QI");
        if (qi == nullptr || qi->values.empty()) continue;  // the compiler reports it
        const std::string where =
            "problem " + std::to_string(i + 1) + ": question " + qi->values[0];
        int q = -1;
        std::from_chars(qi->values[0].data(), qi->values[0].data() + qi->values[0].size(), q);
        if (!questionsDone.insert(q).second) continue;
        const auto keys = concepts.questions.find(q);
        if (keys == concepts.questions.end()) {
            findings.push_back({file, qi->line, where + " is not in " + concepts.file});
            continue;
        }
        for (const GlossaryEntry* term : keys->second) {
            const auto lesson = taught.find(term->lesson);
            std::string why;
            if (id < term->lesson) {
                why = "first taught in lesson " + term->lesson.Name() + ", after this section";
            } else if (lesson == taught.end()) {
                why = "to be taught in lesson " + term->lesson.Name() + ", which does not exist";
            } else if (!lesson->second.contains(term)) {
                why = "to be taught in lesson " + term->lesson.Name() + ", which never uses it";
            } else {
                continue;
            }
            findings.push_back(
                {file, qi->line, where + " needs " + Quote(term->bare) + ", " + why});
        }
    }
}

void LintTeaching(const Glossary& glossary, const std::map<LessonId, TermUses>& taught,
                  std::vector<Finding>& findings) {
    for (const GlossaryEntry& e : glossary.entries) {
        if (e.kind != EntryKind::Term) continue;
        const auto lesson = taught.find(e.lesson);
        if (lesson != taught.end() && !lesson->second.contains(&e)) {
            findings.push_back({glossary.file, e.line,
                                Quote(e.bare) + " is not used in lesson " + e.lesson.Name() +
                                    ", which the glossary says first teaches it"});
        }
    }
}

}  // namespace termlint
