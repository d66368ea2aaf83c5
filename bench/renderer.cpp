// Frame recording on the worker side and replay on SDL's software renderer.
#include <benchmark/benchmark.h>

#include <vector>

#include "Lib/ZIRur/Graphics/RenderDevice.h"
#include "platform/headless/FrameCapture.h"
#include "platform/headless/HeadlessPlatform.h"

namespace {

std::unique_ptr<gfx::GpuTexture> MakeTexture(uint32_t size, uint32_t argb) {
    auto t = std::make_unique<gfx::GpuTexture>(size, size);
    t->Upload(std::vector<uint32_t>(size_t(size) * size, argb));
    return t;
}

// Records one frame: a background and 100 sprites with per-pixel alpha, as a busy screen
// would; `spriteAlpha` below 255 adds a fade on top of it.
void RecordFrame(gfx::RenderDevice& device, const gfx::GpuTexture& background,
                 const gfx::GpuTexture& sprite, int spriteAlpha = 255) {
    std::lock_guard lock(device.Lock());
    device.Clear(0xFF000000);
    device.BeginScene();
    gfx::DrawSprite(&background, 1024, 768, 0, 0, 255, 255, 255, 255);
    for (int i = 0; i < 100; ++i)
        gfx::DrawSprite(&sprite, 64, 64, (i * 97) % 960, (i * 61) % 704, 255, 255, 255,
                        spriteAlpha);
    device.EndScene();
    device.Present();
}

// A headless platform with a created device, and the two textures of the frames.
struct Scene {
    Scene() {
        platform::SetPlatform(&host);
        device.Create();
    }
    ~Scene() {
        device.Release();
        platform::SetPlatform(nullptr);
    }
    platform::HeadlessPlatform host;
    gfx::RenderDevice& device = gfx::RenderDevice::Instance();
    std::unique_ptr<gfx::GpuTexture> background = MakeTexture(1024, 0xFF336699);
    std::unique_ptr<gfx::GpuTexture> sprite = MakeTexture(64, 0xC0FFFFFF);
};

void BM_RecordFrameOf100Sprites(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) RecordFrame(scene.device, *scene.background, *scene.sprite);
}
BENCHMARK(BM_RecordFrameOf100Sprites)->Unit(benchmark::kMicrosecond);

void BM_ReplayFrameOnSoftwareRenderer(benchmark::State& state) {
    Scene scene;
    RecordFrame(scene.device, *scene.background, *scene.sprite, int(state.range(0)));
    const platform::DrawList frame = scene.host.LatestFrame();
    headless::FrameCapture capture;
    capture.Render(frame);  // uploads the textures once, as the window thread would
    for (auto _ : state) capture.Render(frame);
}
// Argument: the sprites' modulating alpha (255: per-pixel alpha only; 160: faded).
BENCHMARK(BM_ReplayFrameOnSoftwareRenderer)->Arg(255)->Arg(160)->Unit(benchmark::kMillisecond);

}  // namespace
