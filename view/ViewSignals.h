#pragma once

#include <QObject>
#include <QString>

#include "model/TopologyChange.h"

namespace mapvine {

// What the view tells the rest of the program: the parts of the view that
// see a person act (the context menus, the drag, the commands, the zoom)
// send it here, and the main window listens here, whichever part it was.
class ViewSignals final : public QObject {
  Q_OBJECT

 signals:
  // A context-menu item was chosen; the main window routes the command
  // (to the view's own bindings first).
  void CommandChosen(int id);
  // The person switched "Mark inactive links"; the setting outlives the
  // session.
  void MarkInactiveLinksChanged(bool mark);

  // A person starts changing the picture with the mouse (a drag, a link),
  // and is done; EditEnds names the change.
  void EditBegins();
  void EditEnds(const QString& name);

  // The person acknowledged one mark (a click on it), or every mark; the
  // change names the resource as a refresh does.
  void MarkAcknowledged(const mapvine::TopologyChange& resource);
  void AllMarksAcknowledged();

  // The zoom factor changed (or Fit to Window was chosen).
  void ZoomChanged(double zoom, bool fitted);
};

}  // namespace mapvine
