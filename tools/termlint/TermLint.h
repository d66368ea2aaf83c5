#pragma once

#include <compare>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Checks the words of lessons and problem collections against one glossary: readings at first
// use, one way of writing numbers, words a beginner should not meet, and that nothing is used
// before the lesson that teaches it (see docs/tools.md, termlint).
namespace termlint {

// One fault, printed as "file:line: message" ("file: message" for line 0).
struct Finding {
    std::string file;
    int line = 0;
    std::string message;

    std::string Format() const;
};

// Course, chapter and section of a lesson or problem collection, 1-based as in file names.
struct LessonId {
    int course = 0;
    int chapter = 0;
    int section = 0;

    auto operator<=>(const LessonId&) const = default;
    std::string Name() const;
};

// "1-2-3" (or a file name "1-2-3.lesson", "dir/1-2-3.sgf"); nothing for any other name.
std::optional<LessonId> ParseLessonId(std::string_view name);

enum class EntryKind {
    // A taught term: needs its bracket (if written with one) at first use in each lesson, and
    // may not appear before its lesson.
    Term,
    // An ordinary word that contains a term's characters or a kanji numeral, so neither is
    // taken from it (目的, 境目, 一度).
    Word,
    // Not for beginners: the text must say it in plain words.
    Banned,
};

struct GlossaryEntry {
    // The form matched in running text, bracket removed: 押さえ.
    std::string bare;
    // The form required at first use, bracket included: 押（お）さえ; equal to bare without one.
    std::string written;
    EntryKind kind = EntryKind::Term;
    // The lesson that first teaches a term.
    LessonId lesson;
    // Line of the glossary file.
    int line = 0;
};

struct Glossary {
    std::string file;
    std::vector<GlossaryEntry> entries;

    // The entry whose bare or written form starts `text` at `pos` (the longest one), with the
    // length matched and whether the written form (with its bracket) matched.
    struct Match {
        const GlossaryEntry* entry = nullptr;
        size_t length = 0;
        bool withBracket = false;
    };
    Match At(std::string_view text, size_t pos) const;
    const GlossaryEntry* FindTerm(std::string_view bare) const;
};

Glossary ParseGlossary(std::string_view text, const std::string& file,
                       std::vector<Finding>& findings);

// Question index -> the glossary terms its text relies on.
struct Concepts {
    std::string file;
    std::map<int, std::vector<const GlossaryEntry*>> questions;
    std::map<int, int> lines;
};

// `questionTexts[q]` is question q's text in UTF-8; every glossary term found in it must be
// among the question's key words, so the registry cannot miss what the learner reads.
Concepts ParseConcepts(std::string_view text, const std::string& file, const Glossary& glossary,
                       const std::vector<std::string>& questionTexts,
                       std::vector<Finding>& findings);

// One caption or body line of a lesson source.
struct TextLine {
    int line = 0;
    bool caption = false;
    std::string text;
};

std::vector<TextLine> LessonText(std::string_view source);

// Terms used in a text, in order, for the "first lesson uses its term" check.
using TermUses = std::map<const GlossaryEntry*, int>;

// Lints one lesson source; returns the terms it uses (with the line of the first use).
TermUses LintLesson(const Glossary& glossary, LessonId id, const std::string& file,
                    std::string_view source, std::vector<Finding>& findings);

// Lints one problem collection of section `id`: every question's key words and every term in
// its comments must be taught by a lesson of this or an earlier section among `taught`.
void LintProblems(const Glossary& glossary, const Concepts& concepts, LessonId id,
                  const std::string& file, std::string_view source,
                  const std::map<LessonId, TermUses>& taught, std::vector<Finding>& findings);

// Every term whose lesson is among `taught` must be used by that lesson.
void LintTeaching(const Glossary& glossary, const std::map<LessonId, TermUses>& taught,
                  std::vector<Finding>& findings);

}  // namespace termlint
