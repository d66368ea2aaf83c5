// Feeds arbitrary bytes to the layout builder, then computes and draws whatever tree it
// built: nothing may read or write outside the buffer, and a failed build leaves no pane.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Lib/lyt/drawInfo.h"
#include "Lib/lyt/drawable.h"
#include "Lib/lyt/group.h"
#include "Lib/lyt/layout.h"
#include "Lib/lyt/pane.h"
#include "Lib/lyt/resourceAccessor.h"
#include "Lib/lyt/textBox.h"

namespace {

using namespace LYRALib::lytmgr;

class AnyImage : public ResourceAccessor {
public:
    void* FindResource(uint32_t, const char* name, uint32_t* size) override {
        volatile char c = name[0];  // the name must be a readable string
        (void)c;
        if (size != nullptr) *size = sizeof mImage;
        return mImage;
    }

private:
    uint8_t mImage[16] = {};
};

class Sink : public Drawable {
public:
    void Draw(const DrawRequest& r) override {
        total = total + long(r.x) + r.y + r.width + r.height + r.red;
    }
    volatile long total = 0;
};

void Visit(Pane* pane, Sink& sink) {
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
    AnyImage images;
    Layout layout;
    if (!layout.Build(buffer.data(), buffer.size(), &images)) {
        if (layout.GetRootPane() != nullptr) __builtin_trap();
        return 0;
    }
    Sink sink;
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
