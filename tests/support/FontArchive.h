#pragma once

#include <memory>
#include <string>

#include "support/ScratchDir.h"

namespace testsupport {

// The Japanese font installed from Debian (package fonts-ipafont-gothic) that tests use in
// place of the program's own font files.
inline const char* kJapaneseFontPath = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

// A scratch folder holding DATA/IMG/TEXT.T2G with the installed font stored as
// "UIGothic-Bold.otf" and "UIRounded-DemiBold.otf", plus "broken.otf" (not a font).
// Creating it starts the font manager there, so the archive is read from this folder.
class FontArchiveScope {
public:
    FontArchiveScope();
    ~FontArchiveScope();
    FontArchiveScope(const FontArchiveScope&) = delete;
    FontArchiveScope& operator=(const FontArchiveScope&) = delete;
    bool Ready() const { return m_ready; }

private:
    std::unique_ptr<testsupport::ScratchDir> m_dir;
    bool m_ready = false;
};

}  // namespace testsupport
