#pragma once

#include <QWidget>

#include "graphics/COSBView.h"
#include "graphics/ComposedBackground.h"
#include "model/MapvineDoc.h"
#include "render/PictureRenderer.h"
#include "view/CommandBindings.h"
#include "view/ViewSignals.h"

namespace mapvine {

// The picture commands: what the picture shows (all of a class hidden or
// shown, chosen hidden nodes shown, the change marks acknowledged) and how
// (the background's size and arrangement, inactive links dashed).
class PictureCommands final : public CommandOwner {
 public:
  // `dialogParent` owns the dialogs; `renderer` draws the picture and
  // knows where its links lie.
  PictureCommands(CMapvineDoc& doc, COSBView& picture, QWidget& dialogParent, PictureRenderer& renderer,
                  ViewSignals& viewSignals)
      : doc_(doc), picture_(picture), dialogParent_(dialogParent), renderer_(renderer), signals_(viewSignals) {}

  void BindCommands(CommandBindings& commands) override;

  // Inactive links are drawn dashed as well as red.
  void SetMarkInactiveLinks(bool mark);
  // A click on a node's or link's change mark acknowledges that change:
  // `hitNode` is the node clicked, if any, `at` the picture point.
  void AcknowledgeChangeAt(CNode* hitNode, Point at);

  // The layout the background is composed with when the document asks for
  // the user's choice.
  BackgroundArrangement arrangement = BackgroundArrangement::Tile;

 private:
  void ShowChosenHiddenNodes();
  void ResizeBackground();
  void ArrangeBackground(BackgroundArrangement chosen);
  // The arrangement the background is laid out in: the one chosen here, or
  // the one a saved picture brought.
  BackgroundArrangement ShownArrangement() const;

  CMapvineDoc& doc_;
  COSBView& picture_;
  QWidget& dialogParent_;
  PictureRenderer& renderer_;
  ViewSignals& signals_;
};

}  // namespace mapvine
