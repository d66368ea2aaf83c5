// Feeds arbitrary bytes to the layout builder, then computes and draws whatever tree it
// built: nothing may read or write outside the buffer, and a failed build leaves no pane.
#include <vector>

#include "FuzzSupport.h"
#include "Lib/lyt/drawInfo.h"
#include "Lib/lyt/group.h"
#include "Lib/lyt/layout.h"
#include "Lib/lyt/pane.h"
#include "Lib/lyt/textBox.h"

namespace {

using namespace LYRALib::lytmgr;

void Visit(Pane* pane, fuzz::Sink& sink) {
    pane->AttachDrawable(&sink);
    pane->GetExtUserDataNum();
    pane->FindExtUserDataByName("speed");
    if (auto* text = dynamic_cast<TextBox*>(pane)) {
        text->CopyText(u"fuzz", 1);
        const char16_t* s = text->GetString();
        for (uint32_t i = 0; s != nullptr && i < text->GetStringBufferSize() / 2; ++i)
            sink.total = sink.total + s[i];
    }
    for (Pane* c = pane->GetFirstChild(); c != nullptr; c = c->GetNextSibling()) Visit(c, sink);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> buffer(data, data + size);
    fuzz::AnyImage images;
    Layout layout;
    if (!layout.Build(buffer.data(), buffer.size(), &images)) {
        if (layout.GetRootPane() != nullptr) __builtin_trap();
        return 0;
    }
    fuzz::Sink sink;
    if (Pane* root = layout.GetRootPane()) {
        Visit(root, sink);
        root->FindPane("RootPane", true);
        root->FindMaterial("mat", true);
    }
    if (GroupContainer* groups = layout.GetGroupContainer()) groups->FindGroupByName("G1");
    DrawInfo info;
    info.SetFlag(DrawInfo::kFlagLocationAdjust, size % 2 == 0);
    info.SetFlag(DrawInfo::kFlagInvisibleNeedsCalc, size % 3 == 0);
    layout.Animate(0);
    layout.UpdateGlobals(info);
    layout.Draw(info);
    return 0;
}
