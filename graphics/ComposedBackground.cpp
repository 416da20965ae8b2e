// The background laid out on the canvas one area at a time. Each of the
// three layouts sends a canvas pixel (x, y) to a source pixel whose column
// depends on x alone and whose row on y alone, so an area is drawn from one
// column map and one source row per canvas row.
#include "graphics/ComposedBackground.h"

#include <algorithm>
#include <cstring>

namespace mapvine {
namespace {

constexpr int kUncovered = -1;
// Runs of columns at least this long on average are copied whole.
constexpr std::size_t kShortestRun = 8;

}  // namespace

ComposedBackground::ComposedBackground(const CDIB& source, int width, int height,
                                       BackgroundArrangement arrangement)
    : width_(width), height_(height), arrangement_(arrangement) {
  // Shared, not copied: RemapToPalette copies before it changes anything.
  source_.ShareStorageOf(source);
  const bool readable = source_.HasHeader() && source_.BitCount() == 8 && source_.GetWidth() > 0 &&
                        source_.GetHeight() > 0 &&
                        source_.Bits().size() >= static_cast<std::size_t>(source_.RowBytes()) *
                                                     static_cast<std::size_t>(source_.GetHeight());
  if (readable) {
    sourceWidth_ = source_.GetWidth();
    sourceHeight_ = source_.GetHeight();
  }
  // Centring copies one rectangle: the source's middle onto the canvas's
  // middle, every half taken by integer division.
  const int sw = sourceWidth_, sh = sourceHeight_;
  const int left = sw >= width ? 0 : width / 2 - sw / 2;
  const int top = sh >= height ? 0 : height / 2 - sh / 2;
  centred_ = {left, top, left + std::min(sw, width), top + std::min(sh, height)};
  centredFrom_ = {sw >= width ? sw / 2 - width / 2 : 0, sh >= height ? sh / 2 - height / 2 : 0};
}

bool ComposedBackground::RemapToPalette(const CDIBPal& palette) {
  // The pixels are shared with the image this background was made from,
  // which keeps its own colours: remap a copy.
  if (!source_.HasHeader()) return false;
  CDIB own;
  if (!own.CopyPixels(std::span(source_.HeaderBlock(), CDIB::kHeaderBlockSize), source_.Bits()) ||
      !own.RemapToPalette(palette)) {
    return false;
  }
  source_.ShareStorageOf(own);
  return true;
}

// Along one axis: canvas position `at` of `canvas`, a source `source` long,
// centred (when so arranged) on [centredStart, centredEnd) from source
// position `centredFrom`.
int ComposedBackground::SourceAlong(int at, int canvas, int source, int centredStart,
                                    int centredEnd, int centredFrom) const {
  if (source == 0) return kUncovered;
  switch (arrangement_) {
    case BackgroundArrangement::Stretch:
      // Nearest neighbour with the source mapping of CDIB::StretchPixelsTo.
      return static_cast<int>(std::int64_t{at} * source / canvas);
    case BackgroundArrangement::Centre:
      return at >= centredStart && at < centredEnd ? at - centredStart + centredFrom : kUncovered;
    case BackgroundArrangement::Tile:
      break;
  }
  return at % source;
}

int ComposedBackground::SourceColumn(int x) const {
  return SourceAlong(x, width_, sourceWidth_, centred_.left, centred_.right, centredFrom_.x);
}

int ComposedBackground::SourceRow(int y) const {
  return SourceAlong(y, height_, sourceHeight_, centred_.top, centred_.bottom, centredFrom_.y);
}

std::uint8_t ComposedBackground::PixelAt(int x, int y) const {
  if (!GetRect().Contains({x, y})) return 0;
  const int column = SourceColumn(x);
  const int row = SourceRow(y);
  if (column == kUncovered || row == kUncovered) return 0;
  return *source_.PixelPtr(column, row);
}

ComposedBackground::ColumnMap ComposedBackground::MapColumns(std::span<const int> columns) const {
  ColumnMap map;
  map.sourceColumns.reserve(columns.size());
  for (const int x : columns) map.sourceColumns.push_back(SourceColumn(x));
  for (std::size_t i = 0; i < columns.size();) {
    const int first = map.sourceColumns[i];
    std::size_t end = i + 1;
    while (end < columns.size() &&
           map.sourceColumns[end] == (first == kUncovered ? kUncovered : first + int(end - i))) {
      ++end;
    }
    map.runs.push_back({static_cast<int>(end - i), first});
    i = end;
  }
  // A stretched source repeats or skips columns: short runs are read one
  // pixel at a time.
  if (map.runs.size() * kShortestRun > columns.size()) map.runs.clear();
  return map;
}

void ComposedBackground::ReadRow(int y, const ColumnMap& columns, std::uint8_t* out) const {
  const std::size_t count = columns.sourceColumns.size();
  const int row = SourceRow(y);
  if (row == kUncovered) {
    std::memset(out, 0, count);
    return;
  }
  const std::uint8_t* from = source_.PixelPtr(0, row);
  if (!columns.runs.empty()) {
    for (const ColumnMap::Run& run : columns.runs) {
      if (run.sourceColumn == kUncovered) {
        std::memset(out, 0, static_cast<std::size_t>(run.count));
      } else {
        std::memcpy(out, from + run.sourceColumn, static_cast<std::size_t>(run.count));
      }
      out += run.count;
    }
    return;
  }
  for (std::size_t i = 0; i < count; ++i) {
    const int column = columns.sourceColumns[i];
    out[i] = column == kUncovered ? 0 : from[column];
  }
}

void ComposedBackground::DrawArea(CDIB& window, Point origin, const Rect& area) const {
  if (!window.HasHeader() || window.BitCount() != 8) return;
  const Rect part =
      area.Intersect(GetRect()).Intersect(window.GetRect().Offset(origin.x, origin.y));
  if (part.IsEmpty()) return;
  std::vector<int> columns(static_cast<std::size_t>(part.Width()));
  for (int i = 0; i < part.Width(); ++i) columns[i] = part.left + i;
  const ColumnMap map = MapColumns(columns);

  // Neighbouring rows that show the same source row (a stretched source,
  // or the uncovered band of a centred one) are the same bytes.
  int previousRow = kUncovered - 1;
  const std::uint8_t* previous = nullptr;
  for (int y = part.top; y < part.bottom; ++y) {
    std::uint8_t* out = window.PixelPtr(part.left - origin.x, y - origin.y);
    const int row = SourceRow(y);
    if (row == previousRow) {
      std::memcpy(out, previous, columns.size());
    } else {
      ReadRow(y, map, out);
    }
    previousRow = row;
    previous = out;
  }
}

}  // namespace mapvine
