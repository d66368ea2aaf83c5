// Decoding a full-screen 1024 x 768 Targa into its padded texture. Target: 10 ms median.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "Lib/ZIRur/Graphics/ImageDecoder.h"
#include "Lib/ZIRur/Graphics/Texture.h"

namespace {

std::vector<uint8_t> ScreenTarga() {
    const int w = 1024, h = 768;
    std::vector<uint8_t> tga = {0,          0,
                                2,          0,
                                0,          0,
                                0,          0,
                                0,          0,
                                0,          0,
                                uint8_t(w), uint8_t(w >> 8),
                                uint8_t(h), uint8_t(h >> 8),
                                32,         8};
    tga.reserve(tga.size() + size_t(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            tga.insert(tga.end(), {uint8_t(x), uint8_t(y), uint8_t(x ^ y), 255});
    return tga;
}

void BM_DecodeScreenTargaToTexture(benchmark::State& state) {
    const std::vector<uint8_t> tga = ScreenTarga();
    for (auto _ : state) {
        CTexture texture("bench.tga");
        if (!texture.CreateFromData(gfx::kImageTypeTarga, tga.data(), tga.size())) {
            state.SkipWithError("decode failed");
            return;
        }
        benchmark::DoNotOptimize(texture.Gpu());
    }
}
BENCHMARK(BM_DecodeScreenTargaToTexture)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_DecodeScreenTargaOnly(benchmark::State& state) {
    const std::vector<uint8_t> tga = ScreenTarga();
    gfx::DecodedImage image;
    for (auto _ : state) {
        gfx::DecodeImage(gfx::kImageTypeTarga, tga, image);
        benchmark::DoNotOptimize(image.rgba.get());
    }
}
BENCHMARK(BM_DecodeScreenTargaOnly)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
