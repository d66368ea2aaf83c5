// Feeds arbitrary bytes to the animation loader; when it accepts them, builds panes and
// materials named after its contents, binds the resource and evaluates it at awkward frames.
#include <cmath>
#include <limits>
#include <vector>

#include "FuzzSupport.h"
#include "Lib/lyt/animation.h"
#include "Lib/lyt/drawInfo.h"
#include "Lib/lyt/layout.h"
#include "Lib/lyt/material.h"
#include "Lib/lyt/pane.h"
#include "Lib/lyt/picture.h"

using namespace LYRALib::lytmgr;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> buffer(data, data + size);
    AnimResource res;
    if (!res.Set(buffer.data(), buffer.size())) return 0;

    Layout layout;
    auto* root = new Pane();
    root->SetName("root");
    layout.SetRootPane(root);
    fuzz::Sink sink;
    for (const AnimContent& content : res.GetContents()) {
        auto* pic = new Picture();
        auto* mat = new Material();
        if (content.type == kAnimContentMaterial) {
            mat->SetName(content.name);
        } else {
            pic->SetName(content.name);
        }
        mat->AppendTexMap(TexMap{});
        mat->AppendTexMap(TexMap{});
        mat->SetTexSRTNum(2);
        mat->SetIndTexSRTNum(1);
        pic->SetMaterial(mat);
        pic->AttachDrawable(&sink);
        root->AppendChild(pic);
    }
    fuzz::AnyImage images('m');  // some names are missing
    AnimTransform* t = layout.CreateAnimTransform(res, &images);
    layout.AttachAnim(t);
    layout.AttachAnimByGroups(res, &images);
    DrawInfo info;
    constexpr float kInf = std::numeric_limits<float>::infinity();
    for (float f : {-1.0f, 0.0f, 0.5f, 1.0f, 9.9995f, 30.0f, 1e9f, kInf, std::nanf("")}) {
        t->SetFrame(f);
        layout.Animate(size % 2);
        layout.UpdateGlobals(info);
        layout.Draw(info);
    }
    layout.DetachAnim(t);
    return 0;
}
