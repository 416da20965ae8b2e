#pragma once

#include "graphics/CDIBPal.h"
#include "model/ChangeMark.h"

namespace mapvine {

// The colours of what the view draws over the picture, the same at every
// zoom. The picture shows each in the nearest colour of its palette.

// What a refresh changed: blue new, grey gone (and stale), orange went
// inactive, cyan went active.
constexpr PaletteEntry ChangeMarkColor(ChangeMark mark) {
  switch (mark) {
    case ChangeMark::New:
      return {0, 96, 255, 0};
    case ChangeMark::WentInactive:
      return {255, 150, 0, 0};
    case ChangeMark::WentActive:
      return {0, 230, 255, 0};
    default:  // gone, and stale
      return {160, 160, 160, 0};
  }
}

// A shown route is lit over the rest of the picture, which is dimmed.
inline constexpr PaletteEntry kRouteColor{255, 255, 0, 0};
inline constexpr PaletteEntry kRouteDimColor{0, 0, 0, 0};

// The keyboard selection is black and white, so that it shows on any icon
// and background.
inline constexpr PaletteEntry kSelectionOuterColor{0, 0, 0, 0};
inline constexpr PaletteEntry kSelectionInnerColor{255, 255, 255, 0};

}  // namespace mapvine
