#include "refresh/RefreshNotices.h"

#include "base/UserPrompts.h"
#include "protocol/ReturnCodes.h"

namespace mapvine {

std::string RefreshFailureReason(const RefreshOutcome& outcome) {
  if (outcome.Succeeded()) return {};
  const VerbStatus& failed = outcome.Failure();
  return VerbName(failed.opcode) + " returned " + ReturnCodesText(failed);
}

void RefreshNotices::Report(CMapvineDoc& doc, const std::string& failureReason, RefreshTrigger trigger) {
  if (failureReason.empty()) {
    doc.ShowStatusText(standing_.empty() ? ChangeSummary(doc.lastChanges)
                                         : "Refresh works again: the node answers");
    standing_.clear();
    return;
  }
  const std::string text = "Refresh failed: " + failureReason;
  doc.ShowStatusText(text);
  const bool news = text != standing_;
  // Noted before the box shows: timer ticks may run while it is open.
  standing_ = text;
  if (trigger == RefreshTrigger::User || news) {
    Prompts().ShowWarning(text + "\nThe picture keeps what it showed before.");
  }
}

}  // namespace mapvine
