// Palette work the document does when it (re)builds its picture: remapping
// an image to the merged palette and merging the palettes of its images.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "graphics/CDIB.h"
#include "graphics/CDIBPal.h"

namespace {

using mapvine::CDIB;
using mapvine::CDIBPal;

// An 8-bit image whose colour table is a scrambled spread of colours and
// whose pixels use every index.
void MakeImage(CDIB& image, int width, int height, int seed) {
  image.Create(width, height);
  std::uint8_t* table = image.HeaderBlock() + CDIB::kInfoHeaderSize;
  for (int i = 0; i < 256; ++i) {
    table[4 * i] = static_cast<std::uint8_t>(i * 37 + seed);
    table[4 * i + 1] = static_cast<std::uint8_t>(i * 91 + 3 * seed);
    table[4 * i + 2] = static_cast<std::uint8_t>(i * 53 + 7 * seed);
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) *image.PixelPtr(x, y) = static_cast<std::uint8_t>(x * 7 + y * 13 + seed);
  }
}

void BM_RemapToPalette(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  CDIBPal cube;
  cube.CreateColorCube();
  CDIB original;
  MakeImage(original, side, side, 1);
  CDIB image;
  for (auto _ : state) {
    state.PauseTiming();
    image.CopyPixels({original.HeaderBlock(), CDIB::kHeaderBlockSize}, original.Bits());
    state.ResumeTiming();
    benchmark::DoNotOptimize(image.RemapToPalette(cube));
  }
  state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(BM_RemapToPalette)->Arg(64)->Arg(1024);

// The document's case: a large background and ten 48 x 48 icons, counted
// and ranked from scratch each time.
void BM_MergeElevenImages(benchmark::State& state) {
  std::vector<std::unique_ptr<CDIB>> images;
  images.push_back(std::make_unique<CDIB>());
  MakeImage(*images.back(), 1024, 768, 0);
  for (int i = 1; i <= 10; ++i) {
    images.push_back(std::make_unique<CDIB>());
    MakeImage(*images.back(), 48, 48, i);
  }
  std::vector<const CDIB*> imagePointers;
  for (const auto& image : images) imagePointers.push_back(image.get());
  for (auto _ : state) {
    std::vector<CDIBPal> palettes(images.size());
    std::vector<CDIBPal*> palettePointers;
    for (std::size_t i = 0; i < images.size(); ++i) {
      palettes[i].CreateFromImage(*images[i]);
      palettePointers.push_back(&palettes[i]);
    }
    CDIBPal merged;
    merged.CreateColorCube();
    benchmark::DoNotOptimize(merged.MergePalettes(palettePointers, imagePointers));
  }
}
BENCHMARK(BM_MergeElevenImages)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
