#include "SgfParser.h"

#include <cctype>

namespace sgf {

const Property* Node::Find(std::string_view id) const {
    for (const Property& p : properties) {
        if (p.id == id) return &p;
    }
    return nullptr;
}

namespace {

// Nesting deeper than this is refused rather than risking the stack on hostile input.
constexpr int kMaxDepth = 1000;

class Parser {
public:
    explicit Parser(std::string_view text) : m_text(text) {}

    std::vector<Tree> Collection() {
        std::vector<Tree> trees;
        if (m_text.substr(0, 3) == "\xEF\xBB\xBF") m_pos = 3;  // UTF-8 byte order mark
        SkipSpace();
        if (AtEnd()) Fail("empty file: no game tree");
        while (!AtEnd()) {
            if (Peek() != '(') Fail("expected '(' to start a game tree");
            trees.push_back(GameTree(0));
            SkipSpace();
        }
        return trees;
    }

private:
    Tree GameTree(int depth) {
        if (depth > kMaxDepth) Fail("variations nested too deeply");
        Tree tree;
        tree.line = m_line;
        Advance();  // '('
        SkipSpace();
        if (AtEnd() || Peek() != ';') Fail("expected ';' to start a node");
        while (!AtEnd() && Peek() == ';') {
            tree.nodes.push_back(ParseNode());
            SkipSpace();
        }
        while (!AtEnd() && Peek() == '(') {
            tree.children.push_back(GameTree(depth + 1));
            SkipSpace();
        }
        if (AtEnd()) Fail("missing ')' at end of file");
        if (Peek() != ')') Fail(std::string("unexpected '") + Peek() + "'");
        Advance();
        return tree;
    }

    Node ParseNode() {
        Node node;
        node.line = m_line;
        Advance();  // ';'
        SkipSpace();
        while (!AtEnd() && std::isupper(static_cast<unsigned char>(Peek()))) {
            Property prop;
            prop.line = m_line;
            while (!AtEnd() && std::isupper(static_cast<unsigned char>(Peek()))) {
                prop.id += Peek();
                Advance();
            }
            SkipSpace();
            if (AtEnd() || Peek() != '[') Fail("property " + prop.id + " has no value");
            while (!AtEnd() && Peek() == '[') {
                prop.values.push_back(Value());
                SkipSpace();
            }
            node.properties.push_back(std::move(prop));
        }
        if (!AtEnd() && std::islower(static_cast<unsigned char>(Peek()))) {
            Fail("property names must be upper-case letters");
        }
        return node;
    }

    // A bracketed value: "\" escapes the next character; "\" before a line break removes both.
    std::string Value() {
        const int startLine = m_line, startColumn = m_column;
        Advance();  // '['
        std::string value;
        while (true) {
            if (AtEnd()) throw SyntaxError(startLine, startColumn, "unterminated value");
            char c = Peek();
            if (c == ']') {
                Advance();
                return value;
            }
            if (c == '\\') {
                Advance();
                if (AtEnd()) throw SyntaxError(startLine, startColumn, "unterminated value");
                c = Peek();
                if (c == '\r' || c == '\n') {
                    SkipLineBreak();
                    continue;
                }
            }
            value += c;
            Advance();
        }
    }

    void SkipLineBreak() {
        const char first = Peek();
        Advance();
        if (!AtEnd() && (Peek() == '\r' || Peek() == '\n') && Peek() != first) Advance();
    }

    void SkipSpace() {
        while (!AtEnd() && std::isspace(static_cast<unsigned char>(Peek()))) Advance();
    }

    bool AtEnd() const { return m_pos >= m_text.size(); }
    char Peek() const { return m_text[m_pos]; }
    void Advance() {
        if (m_text[m_pos] == '\n') {
            ++m_line;
            m_column = 1;
        } else {
            ++m_column;
        }
        ++m_pos;
    }
    [[noreturn]] void Fail(const std::string& message) const {
        throw SyntaxError(m_line, m_column, message);
    }

    std::string_view m_text;
    size_t m_pos = 0;
    int m_line = 1;
    int m_column = 1;
};

}  // namespace

std::vector<Tree> ParseCollection(std::string_view text) {
    return Parser(text).Collection();
}

}  // namespace sgf
