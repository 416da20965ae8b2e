#pragma once

#include <span>
#include <string_view>

#include "graphics/CDIB.h"
#include "graphics/COSBView.h"
#include "graphics/ComposedBackground.h"
#include "model/CLink.h"
#include "model/CNode.h"
#include "graphics/Geometry.h"

namespace mapvine {

// Everything the document asks of the window that shows it. The Qt topology
// view implements it; tests implement it with a plain fake.
class DocumentView {
 public:
  virtual ~DocumentView() = default;

  // The off-screen view that hears what changed in the picture
  // (PictureChanged) from the document and its node list.
  virtual COSBView& OffscreenView() = 0;

  // A node came, or changed how it shows (its image, status or
  // visibility): its area and its lines are drawn anew, and what the window
  // says about the nodes follows.
  virtual void NodeChanged(CNode& node) = 0;
  // Nodes were hidden or shown, or folded or unfolded their LUs, and
  // nothing else of them changed: neither place nor image. Hiding all but a
  // neighbourhood tells of nearly every node at once, so the view reads
  // again only what showing depends on; unless it knows better, the whole
  // picture changed.
  virtual void NodesShownChanged(std::span<const CNode* const> nodes) {
    (void)nodes;
    OffscreenView().PictureChanged();
  }
  // Shows `background` as the new picture background; false when the
  // buffer could not be made.
  virtual bool SetBackground(ComposedBackground& background) = 0;
  // Placement wants a larger picture and the window is to grow with it.
  virtual void RequestPictureResize(int width, int height) = 0;
  // The background arrangement the user chose.
  virtual BackgroundArrangement ChosenArrangement() const = 0;
  // A batch of changes starts and ends: a refresh feeding the network's
  // nodes and links in, or tiling moving every node. Nobody needs to see
  // the picture change one step at a time: the view may hold back its
  // drawing until the end, and then shows what the batch changed.
  virtual void BatchStarted() = 0;
  virtual void BatchEnded() = 0;
  // A node or a link is about to leave the document, or all of them are:
  // whoever holds a pointer to one lets go of it now, so that nobody needs
  // to search the document later to learn whether a pointer still lives.
  virtual void NodeRemoving(const CNode& node) { (void)node; }
  virtual void LinkRemoving(const CLink& link) { (void)link; }
  virtual void AllRemoving() {}
};

// The first pane of the main window's status bar. A text set here is shown
// at once, even while a long command keeps the window from handling events.
class StatusLine {
 public:
  virtual ~StatusLine() = default;
  virtual void SetStatusText(std::string_view text) = 0;
};

}  // namespace mapvine
