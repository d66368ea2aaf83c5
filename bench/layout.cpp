// Layout engine costs: building a 200-pane layout from its file bytes (target <= 0.5 ms),
// and one Animate + UpdateGlobals + Draw pass over it with a do-nothing draw object
// (target <= 50 us).
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "../tests/Lib/lyt/LytFixture.h"
#include "Lib/lyt/drawInfo.h"
#include "Lib/lyt/drawable.h"
#include "Lib/lyt/layout.h"
#include "Lib/lyt/pane.h"

using namespace LYRALib::lytmgr;

namespace {

// Root, 19 plain panes, each with 10 children alternating pictures and text boxes: 200 panes.
std::vector<uint8_t> Layout200() {
    lytfix::FileWriter f;
    lytfix::LayoutInfo(f, 1024, 768);
    std::vector<std::string> textures;
    for (int i = 0; i < 20; ++i) textures.push_back("tex_" + std::to_string(i) + ".tga");
    lytfix::TextureList(f, textures);
    std::vector<lytfix::MaterialSpec> mats(40);
    for (size_t i = 0; i < mats.size(); ++i) {
        mats[i].name = "mat_" + std::to_string(i);
        mats[i].textures = {uint16_t(i % 20)};
    }
    lytfix::MaterialList(f, mats);
    lytfix::Pane(f, lytfix::Named("RootPane"));
    f.Marker("chbg");
    int n = 1;
    for (int g = 0; g < 19; ++g) {
        lytfix::PaneSpec group = lytfix::Named("grp_" + std::to_string(g));
        group.tx = float(g * 10);
        group.alpha = 200;
        group.flags = 3;
        lytfix::Pane(f, group);
        ++n;
        f.Marker("chbg");
        for (int c = 0; c < 10; ++c, ++n) {
            lytfix::PaneSpec p = lytfix::Named("pane_" + std::to_string(n));
            p.tx = float(c * 5);
            p.ty = float(g * 3);
            p.width = 64;
            p.height = 32;
            if (c % 2 == 0)
                lytfix::Picture(f, p, uint16_t(n % 40));
            else
                lytfix::TextBox(f, p, uint16_t(n % 40), 64, u"text");
        }
        f.Marker("chen");
    }
    f.Marker("chen");
    lytfix::GroupSection(f, "RootGroup", {});
    f.Marker("gpbg");
    lytfix::GroupSection(f, "G1", {"pane_3", "pane_5", "pane_7"});
    f.Marker("gpen");
    return f.Finish();
}

// Moves and fades 50 of the panes.
std::vector<uint8_t> Animation50() {
    lytfix::AnimSpec a;
    for (int i = 0; i < 50; ++i) {
        lytfix::ContentSpec c{"pane_" + std::to_string(2 + i * 4), 0, {}};
        c.infos.push_back({"APSR", {{0, 0, {{0, 0, 1}, {30, 30, 0}, {60, 0, 0}}}}});
        c.infos.push_back({"AVCL", {{0, 16, {{0, 255}, {60, 0}}}}});
        a.contents.push_back(c);
    }
    return lytfix::Animation(a);
}

class NullDrawable : public Drawable {
public:
    void Draw(const DrawRequest& r) override { benchmark::DoNotOptimize(r); }
};

void AttachAll(Pane* pane, Drawable* d) {
    pane->AttachDrawable(d);
    for (Pane* c = pane->GetFirstChild(); c != nullptr; c = c->GetNextSibling()) AttachAll(c, d);
}

void BM_Build200Panes(benchmark::State& state) {
    const std::vector<uint8_t> file = Layout200();
    std::vector<uint8_t> buf(file.size());
    for (auto _ : state) {
        // Each build converts its buffer in place, so it starts from a fresh copy.
        std::memcpy(buf.data(), file.data(), file.size());
        Layout layout;
        if (!layout.Build(buf.data(), buf.size(), nullptr)) state.SkipWithError("build failed");
        benchmark::DoNotOptimize(layout.GetRootPane());
    }
    state.counters["bytes"] = double(file.size());
}
BENCHMARK(BM_Build200Panes)->Unit(benchmark::kMicrosecond);

void BM_AnimateUpdateDraw200Panes(benchmark::State& state) {
    std::vector<uint8_t> file = Layout200();
    std::vector<uint8_t> anim = Animation50();
    Layout layout;
    if (!layout.Build(file.data(), file.size(), nullptr)) return state.SkipWithError("build");
    AnimTransform* t = layout.CreateAnimTransform(anim.data(), anim.size(), nullptr);
    if (t == nullptr) return state.SkipWithError("animation");
    layout.AttachAnim(t);
    NullDrawable null;
    AttachAll(layout.GetRootPane(), &null);
    DrawInfo info;
    float frame = 0;
    for (auto _ : state) {
        t->SetFrame(frame);
        frame = frame >= 60 ? 0 : frame + 1;
        layout.Animate(0);
        layout.UpdateGlobals(info);
        layout.Draw(info);
    }
}
BENCHMARK(BM_AnimateUpdateDraw200Panes)->Unit(benchmark::kMicrosecond);

}  // namespace
