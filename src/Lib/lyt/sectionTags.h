#pragma once

#include <cstddef>
#include <cstdint>

#include "Lib/lyt/types.h"

namespace LYRALib::lytmgr::detail {

inline constexpr uint32_t kTagLayoutFile = MakeTag("SLYT");
inline constexpr uint32_t kTagAnimFile = MakeTag("SANM");

inline constexpr uint32_t kTagLayoutInfo = MakeTag("linf");
inline constexpr uint32_t kTagTextureList = MakeTag("texl");
inline constexpr uint32_t kTagFontList = MakeTag("fntl");
inline constexpr uint32_t kTagMaterialList = MakeTag("matl");
inline constexpr uint32_t kTagPane = MakeTag("panl");
inline constexpr uint32_t kTagPicture = MakeTag("pict");
inline constexpr uint32_t kTagTextBox = MakeTag("txtb");
inline constexpr uint32_t kTagWindow = MakeTag("wndw");
inline constexpr uint32_t kTagBounding = MakeTag("bndg");
inline constexpr uint32_t kTagUserData = MakeTag("usrd");
inline constexpr uint32_t kTagPaneChildBegin = MakeTag("chbg");
inline constexpr uint32_t kTagPaneChildEnd = MakeTag("chen");
inline constexpr uint32_t kTagGroup = MakeTag("grup");
inline constexpr uint32_t kTagGroupChildBegin = MakeTag("gpbg");
inline constexpr uint32_t kTagGroupChildEnd = MakeTag("gpen");

inline constexpr uint32_t kTagAnimInfo = MakeTag("ainf");
inline constexpr uint32_t kTagAnimTag = MakeTag("atag");
inline constexpr uint32_t kTagAnimShare = MakeTag("ashr");

inline constexpr uint32_t kTagAnimPaneSRT = MakeTag("APSR");
inline constexpr uint32_t kTagAnimVtxColor = MakeTag("AVCL");
inline constexpr uint32_t kTagAnimVisibility = MakeTag("AVIS");
inline constexpr uint32_t kTagAnimMatColor = MakeTag("AMCL");
inline constexpr uint32_t kTagAnimTexSRT = MakeTag("ATSR");
inline constexpr uint32_t kTagAnimIndTexSRT = MakeTag("AIMT");
inline constexpr uint32_t kTagAnimTexPattern = MakeTag("ATPT");

inline constexpr uint32_t kTagImage = MakeTag("imag");

// Smallest section sizes that hold each kind's fixed fields.
inline constexpr uint32_t kPaneRecordSize = 76;
inline constexpr uint32_t kPictureFixedSize = 96;
inline constexpr uint32_t kTextBoxFixedSize = 116;
inline constexpr uint32_t kWindowFixedSize = 104;
inline constexpr uint32_t kGroupFixedSize = 28;
inline constexpr uint32_t kMaterialFixedSize = 64;

}  // namespace LYRALib::lytmgr::detail
