#include "RepeatLint.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace sgf2problem {
namespace {

using Point = std::pair<int, int>;

// The eight symmetries of a square board of `size`.
Point Transform(Point p, int symmetry, int size) {
    auto [x, y] = p;
    if (symmetry & 4) std::swap(x, y);
    if (symmetry & 1) x = size - 1 - x;
    if (symmetry & 2) y = size - 1 - y;
    return {x, y};
}

// Stones of AB or AW as points.
std::vector<Point> Stones(const sgf::Node& root, const char* id) {
    std::vector<Point> out;
    if (const sgf::Property* p = root.Find(id))
        for (const std::string& v : ExpandedPoints(*p))
            if (v.size() == 2) out.push_back({v[0] - 'a', v[1] - 'a'});
    return out;
}

// One orientation and colouring: the stones moved to the corner of their bounding box, and
// which of the four edges they touch.
std::string Oriented(const std::vector<Point>& first, const std::vector<Point>& second, int size) {
    int minX = size, minY = size, maxX = -1, maxY = -1;
    for (const auto* stones : {&first, &second})
        for (auto [x, y] : *stones) {
            minX = std::min(minX, x), minY = std::min(minY, y);
            maxX = std::max(maxX, x), maxY = std::max(maxY, y);
        }
    std::vector<std::tuple<char, int, int>> cells;
    for (auto [x, y] : first) cells.emplace_back('B', x - minX, y - minY);
    for (auto [x, y] : second) cells.emplace_back('W', x - minX, y - minY);
    std::sort(cells.begin(), cells.end());
    std::string key{char('0' + (minX == 0)), char('0' + (minY == 0)),
                    char('0' + (maxX == size - 1)), char('0' + (maxY == size - 1)), ':'};
    for (auto [c, x, y] : cells) {
        key += c;
        key += std::to_string(x) + "," + std::to_string(y) + ";";
    }
    return key;
}

}  // namespace

std::vector<ProblemPosition> SectionPositions(const std::vector<sgf::Tree>& trees,
                                              const std::string& fileName) {
    int chapter = 0, section = 0;
    if (!trees.empty() && !trees[0].nodes.empty()) {
        const sgf::Property* sc = trees[0].nodes.front().Find("SC");
        if (sc != nullptr && sc->values.size() == 1) {
            const std::string& v = sc->values[0];
            if (v.size() == 3 && v[1] == ':') chapter = v[0] - '0', section = v[2] - '0';
        }
    }
    std::vector<ProblemPosition> out;
    for (size_t i = 0; i < trees.size(); ++i) {
        if (trees[i].nodes.empty()) continue;
        const sgf::Node& root = trees[i].nodes.front();
        ProblemPosition p;
        p.file = fileName;
        p.line = root.line;
        p.problem = int(i) + 1;
        p.chapter = chapter;
        p.section = section;
        if (const sgf::Property* sz = root.Find("SZ"); sz != nullptr && sz->values.size() == 1)
            p.size = sz->values[0] == "13" ? 13 : 19;
        p.black = Stones(root, "AB");
        p.white = Stones(root, "AW");
        out.push_back(std::move(p));
    }
    return out;
}

std::string PositionKey(const ProblemPosition& position) {
    std::string best;
    for (int symmetry = 0; symmetry < 8; ++symmetry) {
        std::vector<Point> black, white;
        for (Point p : position.black) black.push_back(Transform(p, symmetry, position.size));
        for (Point p : position.white) white.push_back(Transform(p, symmetry, position.size));
        for (const std::string& key :
             {Oriented(black, white, position.size), Oriented(white, black, position.size)}) {
            if (best.empty() || key < best) best = key;
        }
    }
    return best;
}

void LintRepeatedPositions(const std::vector<ProblemPosition>& course, int courseIndex,
                           std::vector<Diagnostic>& errors) {
    if (courseIndex != 0) return;
    std::multimap<std::string, const ProblemPosition*> byKey;
    for (const ProblemPosition& p : course) {
        if (!p.black.empty() || !p.white.empty()) byKey.emplace(PositionKey(p), &p);
    }
    for (const ProblemPosition& p : course) {
        if (p.chapter != kReviewChapter || (p.black.empty() && p.white.empty())) continue;
        auto [from, to] = byKey.equal_range(PositionKey(p));
        for (auto it = from; it != to; ++it) {
            const ProblemPosition& other = *it->second;
            if (&other == &p) continue;
            errors.push_back(
                {p.file, p.line, p.problem,
                 "the position repeats problem " + std::to_string(other.problem) + " of " +
                     std::to_string(other.chapter) + "-" + std::to_string(other.section) +
                     " (turned, mirrored, moved or in swapped colours): a review brings a shape "
                     "back in new surroundings"});
            break;
        }
    }
}

}  // namespace sgf2problem
