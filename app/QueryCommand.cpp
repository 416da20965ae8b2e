#include "app/QueryCommand.h"

#include "model/DocumentSummary.h"
#include "model/MapvineDoc.h"
#include "protocol/QueryReport.h"
#include "refresh/RefreshPass.h"
#include "protocol/SnaLibrary.h"
#include "base/Trace.h"

namespace mapvine {

int RunQueryCommand(bool trace, std::ostream& out, std::ostream& err) {
  const SnaLibrary library = LoadSnaLibrary();
  if (!library.Loaded()) {
    err << "mapvine: " << library.error << "\n";
    return 1;
  }
  return RunQueryCommand(library.snaCtl, trace, out);
}

int RunQueryCommand(const SnaCtlFunction& snaCtl, bool trace, std::ostream& out) {
  NodeAnswers answers = AskNode(snaCtl);
  PrintQueryReport(answers, out);
  const bool succeeded = answers.outcome.Succeeded();

  CMapvineDoc doc;
  doc.SetHeadless(true);
  doc.NewDocument();
  SetTraceEnabled(trace);
  out.flush();  // the pass may print to standard output itself
  dorefresh(doc, answers);
  SetTraceEnabled(false);
  PrintDocumentSummary(doc, out);
  return succeeded ? 0 : 1;
}

}  // namespace mapvine
