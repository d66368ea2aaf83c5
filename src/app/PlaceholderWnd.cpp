#include "app/PlaceholderWnd.h"

#include <vector>

#include "Lib/ZIRur/Graphics/RenderDevice.h"
#include "app/SceneTable.h"
#include "app/SoundFiles.h"

namespace {
// One calm colour per scene, so screenshots tell the scenes apart.
constexpr uint32_t kSceneColours[] = {0xFF3C5A78, 0xFF7A5C3A, 0xFF3F6E4E,
                                      0xFF6A4A7A, 0xFF7A7A3A, 0xFF3A6E7A};

// The music each scene's screen plays (the logo has none).
const char* SceneMusic(int scene) {
    switch (scene) {
        case kSceneTitle:
            return sound_files::kBgmTitle;
        case kSceneMenu:
        case kSceneProblemList:
            return sound_files::kBgmMainMenu;
        case kSceneLesson:
            return sound_files::kBgmLesson;
        case kSceneProblem:
            return sound_files::kBgmGame;
        default:
            return nullptr;
    }
}

constexpr const char* kChooseSound = sound_files::kSeSet;

std::unique_ptr<gfx::GpuTexture> SolidTexture(uint32_t size, uint32_t argb) {
    auto texture = std::make_unique<gfx::GpuTexture>(size, size);
    texture->Upload(std::vector<uint32_t>(size_t(size) * size, argb));
    return texture;
}
}  // namespace

CPlaceholderWnd::CPlaceholderWnd(int scene) : m_scene(scene) {}

void CPlaceholderWnd::OnInit() {
    m_band = SolidTexture(256, 0xFFFFFFFF);
    m_marker = SolidTexture(16, 0xFFFFFFFF);
}

void CPlaceholderWnd::OnStart() {
    CTSBgmWnd::OnStart();
    if (const char* music = SceneMusic(m_scene)) PlayBgm(music);
}

int CPlaceholderWnd::ChoiceAt(int x) const {
    auto next = NextScenes(m_scene);
    if (next.empty()) return 0;
    int band = x * int(next.size()) / 1024;
    if (band < 0) band = 0;
    if (band >= int(next.size())) band = int(next.size()) - 1;
    return next[size_t(band)];
}

void CPlaceholderWnd::OnDraw() {
    auto& device = gfx::RenderDevice::Instance();
    const uint32_t colour = kSceneColours[(m_scene - 1) % 6];
    auto next = NextScenes(m_scene);
    const int bands = next.empty() ? 1 : int(next.size());
    const float s = device.Scale();
    for (int i = 0; i < bands; ++i) {
        // Bands alternate in brightness; each is stretched from the white texture.
        uint32_t shade = (i % 2 == 0) ? colour : ((colour & 0x00FEFEFE) >> 1) | 0xFF000000;
        float left = float(i * 1024 / bands), right = float((i + 1) * 1024 / bands);
        device.DrawTexture(*m_band, {0, 0, 256, 256}, left * s, device.LetterboxY(),
                           (right - left) * s / 256.0f, 768.0f * s / 256.0f, shade);
    }
    if (m_lastPress.x >= 0) {
        device.DrawTexture(*m_marker, {0, 0, 16, 16}, float(m_lastPress.x - 8) * s,
                           device.LetterboxY() + float(m_lastPress.y - 8) * s, s, s, 0xC0FFD040);
    }
}

void CPlaceholderWnd::OnPointerUp(TSPoint point, int) {
    m_lastPress = point;
    if (int next = ChoiceAt(point.x)) {
        PlaySe(kChooseSound);
        EndModal(uint32_t(next));
    }
}

void CPlaceholderWnd::OnKeyDown(uint16_t key, int) {
    if (key != 13) return;
    PlaySe(kChooseSound);
    EndModal(uint32_t(ChoiceAt(0)));
}
