// Composing the whole picture (background plus every node icon with its
// transparent index) against a plain memcpy of the same number of bytes.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

#include "graphics/CDIB.h"
#include "graphics/CSprite.h"

namespace mapvine {
namespace {

constexpr int kSide = 6400;
constexpr int kSprites = 5000;
constexpr int kIconSide = 32;

struct Picture {
  CDIB background;
  CDIB buffer;
  CDIB icon;
  std::vector<std::unique_ptr<CSprite>> sprites;

  // On the 90-pixel grid the document places nodes on (5,000 of them fill
  // the picture), or scattered at random over it.
  explicit Picture(bool onGrid) {
    background.Create(kSide, kSide);
    buffer.Create(kSide, kSide);
    auto bits = background.Bits();
    for (std::size_t i = 0; i < bits.size(); ++i) bits[i] = static_cast<std::uint8_t>(i * 7);
    // A round icon: the corners are the transparent index of the top-left pixel.
    icon.Create(kIconSide, kIconSide);
    for (int y = 0; y < kIconSide; ++y) {
      for (int x = 0; x < kIconSide; ++x) {
        const int dx = 2 * x - kIconSide + 1, dy = 2 * y - kIconSide + 1;
        *icon.PixelPtr(x, y) = dx * dx + dy * dy < kIconSide * kIconSide ? 40 + (x ^ y) % 9 : 0;
      }
    }
    std::uint32_t seed = 12345;
    auto next = [&seed] { return int((seed = seed * 1103515245u + 12345u) >> 8); };
    constexpr int kGrid = 90;
    constexpr int kPerRow = kSide / kGrid;
    for (int i = 0; i < kSprites; ++i) {
      auto sprite = std::make_unique<CSprite>();
      sprite->SetImage(icon);
      if (onGrid) {
        sprite->SetPosition(i % kPerRow * kGrid + 10, i / kPerRow * kGrid + 10);
      } else {
        sprite->SetPosition(next() % (kSide - kIconSide), next() % (kSide - kIconSide));
      }
      sprites.push_back(std::move(sprite));
    }
  }

  void Compose() {
    const Rect whole = buffer.GetRect();
    background.CopyPixelsTo(buffer, 0, 0, kSide, kSide, 0, 0, kOpaque);
    for (const auto& sprite : sprites) sprite->Draw(buffer, nullptr, &whole);
  }

  void Memcpy() {
    std::memcpy(buffer.Bits().data(), background.Bits().data(), background.Bits().size());
  }
};

Picture& GridPicture() {
  static Picture picture(true);
  return picture;
}

Picture& ScatteredPicture() {
  static Picture picture(false);
  return picture;
}

double Seconds(auto&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Compose(benchmark::State& state, Picture& picture) {
  double compose = 0, copy = 0;
  for (auto _ : state) {
    compose += Seconds([&] { picture.Compose(); });
    state.PauseTiming();
    copy += Seconds([&] { picture.Memcpy(); });
    state.ResumeTiming();
    benchmark::DoNotOptimize(picture.buffer.Bits().data());
  }
  // Compose time over memcpy time, measured side by side; must stay <= 3.
  state.counters["x_memcpy"] = compose / copy;
}

void BM_ComposeGrid(benchmark::State& state) { Compose(state, GridPicture()); }
BENCHMARK(BM_ComposeGrid)->Unit(benchmark::kMillisecond);

void BM_ComposeScattered(benchmark::State& state) { Compose(state, ScatteredPicture()); }
BENCHMARK(BM_ComposeScattered)->Unit(benchmark::kMillisecond);

void BM_Memcpy(benchmark::State& state) {
  Picture& picture = GridPicture();
  for (auto _ : state) {
    picture.Memcpy();
    benchmark::DoNotOptimize(picture.buffer.Bits().data());
  }
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mapvine

BENCHMARK_MAIN();
