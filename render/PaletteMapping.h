#pragma once

#include "graphics/CDIB.h"
#include "graphics/CDIBPal.h"
#include "graphics/ComposedBackground.h"
#include "model/MapvineDoc.h"

namespace mapvine {

// Brings an image to the picture's palette unless it already is in it; a
// null palette or one without entries leaves the image as it is.
void MapToPalette(CDIB& image, const CDIBPal* palette);
void MapToPalette(ComposedBackground& background, const CDIBPal* palette);
// The same for every node of the document, each picking its transparent
// index again afterwards: another node may have remapped the storage they
// share.
void MapNodesToPalette(CMapvineDoc& doc, const CDIBPal* palette);

}  // namespace mapvine
