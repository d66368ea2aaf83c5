#include "support/FontArchive.h"

#include "Lib/ZIRur/Text/FontMgr.h"
#include "Lib/ZIRur/Util/TSingleton.h"
#include "support/T2gWriter.h"

namespace testsupport {

FontArchiveScope::FontArchiveScope() : m_dir(std::make_unique<testsupport::ScratchDir>()) {
    TSingleton<CFontMgr>::DestroyInstance();
    std::vector<uint8_t> font = ReadBytes(kJapaneseFontPath);
    if (font.empty()) return;
    auto archive = BuildT2g({{"UIGothic-Bold.otf", font},
                             {"UIRounded-DemiBold.otf", font},
                             {"broken.otf", std::vector<uint8_t>(64, 0x5A)}});
    if (!testsupport::WriteBytes(*m_dir / "DATA/IMG/TEXT.T2G", archive)) return;
    testsupport::WorkingDirectory cwd(m_dir->Path());
    m_ready = TSingleton<CFontMgr>::GetInstance().Archive().IsOpen();
}

FontArchiveScope::~FontArchiveScope() {
    TSingleton<CFontMgr>::DestroyInstance();
}

}  // namespace testsupport
