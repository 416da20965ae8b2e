#include "app/QueryCommand.h"

#include "model/DocumentSummary.h"
#include "model/MapvineDoc.h"
#include "node/DirectoryQuery.h"
#include "node/QueryReport.h"
#include "node/RefreshPass.h"
#include "node/SnaLibrary.h"
#include "node/TopologyQuery.h"
#include "node/Trace.h"

namespace mapvine {

int RunQueryCommand(bool trace, std::ostream& out, std::ostream& err) {
  const SnaLibrary library = LoadSnaLibrary();
  if (!library.Loaded()) {
    err << "mapvine: " << library.error << "\n";
    return 1;
  }
  TopologyTables tables;
  const VerbStatus topology = QueryTopology(library.snaCtl, tables);
  const VerbStatus directory = QueryDirectory(library.snaCtl, tables);
  PrintQueryReport(tables, topology, directory, out);

  CMapvineDoc doc;
  doc.NewDocument();
  SetTraceEnabled(trace);
  out.flush();  // the pass may print to standard output itself
  dorefresh(doc, library.snaCtl);
  SetTraceEnabled(false);
  PrintDocumentSummary(doc, out);
  return topology.Succeeded() && directory.Succeeded() ? 0 : 1;
}

}  // namespace mapvine
