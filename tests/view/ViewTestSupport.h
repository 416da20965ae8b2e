#pragma once

#include <QRgb>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/CDIB.h"
#include "graphics/CDIBPal.h"
#include "graphics/LineDrawing.h"
#include "model/MapvineDoc.h"
#include "view/CommandIds.h"
#include "export/IndexedImage.h"
#include "view/MapvineView.h"

namespace mapvine::viewtest {

struct RecordingStatusLine : StatusLine {
  void SetStatusText(std::string_view text) override { texts.emplace_back(text); }
  std::string Last() const { return texts.empty() ? std::string() : texts.back(); }
  std::vector<std::string> texts;
};

// A new document shown by a real view (on the offscreen platform).
struct ShownDocument {
  CMapvineDoc doc;
  RecordingStatusLine status;
  CMapvineView view{doc};
  CommandBindings commands;  // the view's own commands only
  ShownDocument() {
    view.BindCommands(commands);
    doc.AttachStatusLine(&status);
    doc.NewDocument();
  }
  // The whole picture, drawn now as the window would show it at 100%.
  CDIBSurface& Buffer() {
    picture = view.Frame().PalettedPicture();
    return *picture;
  }
  // Draws `area` anew over the picture last taken with Buffer(), as a
  // partial redraw does, and answers it.
  CDIBSurface& RedrawOver(const Rect& area) {
    view.Frame().DrawPalettedArea(*picture, {0, 0}, area);
    return *picture;
  }
  std::unique_ptr<CDIBSurface> picture;
  // Adds a network node and moves it to (x, y).
  CNode& AddNode(const std::string& name, int x, int y) {
    doc.NewNode(name, "NETA." + name, NetworkNode, nullptr, nullptr);
    CNode& node = *doc.FindNode(name);
    node.SetPosition(x, y);
    return node;
  }
  std::uint8_t IndexOf(PaletteEntry color) {
    return NearestTableIndex(picture ? *picture : Buffer(), color);
  }
};

inline constexpr PaletteEntry kBlack{0, 0, 0, 0};
inline constexpr PaletteEntry kRed{255, 0, 0, 0};
inline constexpr PaletteEntry kGreen{0, 255, 0, 0};
inline constexpr PaletteEntry kBlue{0, 0, 255, 0};
inline constexpr PaletteEntry kMagenta{255, 0, 255, 0};
inline constexpr PaletteEntry kWhite{255, 255, 255, 0};

inline QRgb ToRgb(PaletteEntry c) { return qRgb(c.red, c.green, c.blue); }

// The colour of pixel (x, y) through the image's own colour table.
inline QRgb ColorAt(const CDIB& image, int x, int y) {
  return ColorTableOf(image)[*image.PixelPtr(x, y)];
}
inline QRgb ColorAt(const ComposedBackground& background, int x, int y) {
  return ColorTableOf(background.Source())[background.PixelAt(x, y)];
}

// A width x height image with the given colour table, pixel indexes from
// `pixel`.
inline std::unique_ptr<CDIB> MakeImage(int width, int height, std::vector<PaletteEntry> colors,
                                       const std::function<std::uint8_t(int, int)>& pixel) {
  CDIBPal palette;
  palette.SetEntries(std::move(colors));
  auto image = std::make_unique<CDIB>();
  image->Create(width, height, &palette);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) *image->PixelPtr(x, y) = pixel(x, y);
  }
  return image;
}

// Pixels of `area` where the picture differs from another or from its
// background.
inline int DifferingPixels(const CDIB& a, const CDIB& b, const Rect& area) {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) count += *a.PixelPtr(x, y) != *b.PixelPtr(x, y);
  }
  return count;
}
inline int DifferingPixels(const CDIB& a, const ComposedBackground& b, const Rect& area) {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) count += *a.PixelPtr(x, y) != b.PixelAt(x, y);
  }
  return count;
}

inline int PixelsOfIndex(const CDIB& image, const Rect& area, std::uint8_t index) {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) count += *image.PixelPtr(x, y) == index;
  }
  return count;
}

inline void Fill(CDIB& image, const Rect& area, std::uint8_t index) {
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) *image.PixelPtr(x, y) = index;
  }
}

}  // namespace mapvine::viewtest
