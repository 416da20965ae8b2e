#pragma once

#include <QAbstractScrollArea>

#include "graphics/COSBView.h"
#include "model/MapvineDoc.h"
#include "view/ViewPicks.h"
#include "view/ViewZoom.h"

namespace mapvine {

// The node the keyboard acts on. Tab and Shift+Tab move the selection
// through the shown nodes in list order, the arrow keys to the nearest node
// in their direction; the window scrolls to show the node selected. The
// selection itself is one of the picks, where a node leaving the document
// lets go of it.
class KeyboardSelection {
 public:
  KeyboardSelection(const CMapvineDoc& doc, COSBView& picture, QAbstractScrollArea& window,
                    const ViewZoom& zoom, ViewPicks& picks)
      : doc_(doc), picture_(picture), window_(window), zoom_(zoom), picks_(picks) {}

  // The node selected; none when none is, or when it is hidden or folded
  // away.
  CNode* SelectedNode() const;
  void Select(CNode* node);
  // `step` shown nodes on in list order, wrapping round at either end.
  void Step(int step);
  // The nearest shown node in direction (dx, dy).
  void Toward(int dx, int dy);

 private:
  void ScrollToShow(const CNode& node);

  const CMapvineDoc& doc_;
  COSBView& picture_;
  QAbstractScrollArea& window_;
  const ViewZoom& zoom_;
  ViewPicks& picks_;
};

}  // namespace mapvine
