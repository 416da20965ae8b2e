#include "history/HistoryProblem.h"

namespace mapvine {

QString HistoryProblem::Message() const {
  QString what;
  switch (fault) {
    case HistoryFault::Damaged:
      what = QStringLiteral("The change history in %1 is damaged (%2). Move the file away to start a new one.");
      break;
    case HistoryFault::Locked:
      what = QStringLiteral("The change history in %1 stays locked by another program (%2).");
      break;
    case HistoryFault::Full:
      what = QStringLiteral("The change history in %1 cannot grow: the disk is full (%2).");
      break;
    case HistoryFault::Unreachable:
      what = QStringLiteral("The change history in %1 cannot be reached (%2).");
      break;
    case HistoryFault::Other:
      what = QStringLiteral("The change history in %1 cannot be kept (%2).");
      break;
    case HistoryFault::None:
      return {};
  }
  return what.arg(where, detail.trimmed()) + QStringLiteral(" Mapvine goes on without history.");
}

}  // namespace mapvine
