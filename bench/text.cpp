// Laying out and rasterising a lesson-sized Japanese text (249 bytes of Shift_JIS at font
// size 36). Target: 1 ms median per SetString.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Lib/ZIRur/Text/FontMgr.h"
#include "Lib/ZIRur/Text/Text.h"
#include "Lib/ZIRur/Util/TSingleton.h"

namespace {

const char* kFontPath = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

// DATA/IMG/TEXT.T2G in a scratch folder, holding the installed font as "UIGothic-Bold.otf".
bool PrepareFontArchive() {
    std::ifstream in(kFontPath, std::ios::binary);
    std::vector<uint8_t> font((std::istreambuf_iterator<char>(in)), {});
    if (font.empty()) return false;
    std::vector<uint8_t> archive = {'T', '2', 'G', 'F'};
    Put32(archive, 0);
    Put32(archive, 0);
    Put32(archive, 1);
    Put32(archive, 0);
    std::string name = "UIGothic-Bold.otf";
    name.resize(24, '\0');
    archive.insert(archive.end(), name.begin(), name.end());
    Put32(archive, uint32_t(font.size()));
    Put32(archive, uint32_t((font.size() + 3) & ~size_t(3)));
    archive.insert(archive.end(), font.begin(), font.end());
    archive.resize((archive.size() + 3) & ~size_t(3), 0);
    auto dir = std::filesystem::temp_directory_path() / "stonewell-bench-text";
    std::filesystem::create_directories(dir / "DATA/IMG");
    std::ofstream(dir / "DATA/IMG/TEXT.T2G", std::ios::binary)
        .write(reinterpret_cast<const char*>(archive.data()), std::streamsize(archive.size()));
    auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    const bool ok = TSingleton<CFontMgr>::GetInstance().Archive().IsOpen();
    std::filesystem::current_path(previous);
    return ok;
}

// Six lines of a lesson page: 249 bytes of Shift_JIS with line feeds.
std::string LessonBody() {
    const std::string line =
        "\x8C\xE9\x90\xCE\x82\xF0\x92\x75\x82\xA2\x82\xC4\x81\x41\x91\x8A\x8E\xE8\x82\xCC"
        "\x90\xCE\x82\xF0\x88\xCD\x82\xDD\x82\xDC\x82\xB5\x82\xE5\x82\xA4\x81\x42";  // 38 bytes
    std::string body;
    while (body.size() + line.size() + 1 <= 249) body += line + "\n";
    while (body.size() < 249) body += "\x82\xA0";
    body.resize(249);
    return body;
}

void BM_SetStringLessonBody(benchmark::State& state) {
    if (!PrepareFontArchive()) {
        state.SkipWithError("font archive could not be prepared");
        return;
    }
    const std::string body = LessonBody();
    int owner = 0;
    CText text;
    text.Init(&owner, nullptr, "UIGothic-Bold.otf", 36, 36);
    if (text.Font() == nullptr) {
        state.SkipWithError("no font");
        return;
    }
    for (auto _ : state) {
        text.SetString(body.c_str());
        benchmark::DoNotOptimize(text.Texture());
    }
    state.counters["bytes"] = double(body.size());
    state.counters["block_w"] = text.BlockWidth();
    state.counters["block_h"] = text.BlockHeight();
}
BENCHMARK(BM_SetStringLessonBody)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
