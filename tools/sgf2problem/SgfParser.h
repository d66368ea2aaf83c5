#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A small reader for SGF collections (FF[4] syntax): game trees, node sequences and
// properties with their raw text values. It knows nothing about the meaning of properties.
namespace sgf {

// One property of a node: identifier, one or more values (escapes removed), source line.
struct Property {
    std::string id;
    std::vector<std::string> values;
    int line = 0;
};

// One node (";" followed by properties), with the line of its ";".
struct Node {
    std::vector<Property> properties;
    int line = 0;

    // The property with this identifier, or nullptr.
    const Property* Find(std::string_view id) const;
};

// A game tree: a sequence of nodes, then the variations that follow its last node.
struct Tree {
    std::vector<Node> nodes;
    std::vector<Tree> children;
    int line = 0;
};

// A syntax error with the 1-based line and column where it was found.
class SyntaxError : public std::runtime_error {
public:
    SyntaxError(int line, int column, const std::string& message)
        : std::runtime_error(message), m_line(line), m_column(column) {}
    // 1-based line of the offending character.
    int Line() const { return m_line; }
    // 1-based column (in bytes) of the offending character.
    int Column() const { return m_column; }

private:
    int m_line;
    int m_column;
};

// Parses a whole collection (one or more game trees). Throws SyntaxError.
std::vector<Tree> ParseCollection(std::string_view text);

}  // namespace sgf
