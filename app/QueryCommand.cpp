#include "app/QueryCommand.h"

#include "node/DirectoryQuery.h"
#include "node/QueryReport.h"
#include "node/SnaLibrary.h"
#include "node/TopologyQuery.h"

namespace mapvine {

int RunQueryCommand(std::ostream& out, std::ostream& err) {
  const SnaLibrary library = LoadSnaLibrary();
  if (!library.Loaded()) {
    err << "mapvine: " << library.error << "\n";
    return 1;
  }
  TopologyTables tables;
  const VerbStatus topology = QueryTopology(library.snaCtl, tables);
  const VerbStatus directory = QueryDirectory(library.snaCtl, tables);
  PrintQueryReport(tables, topology, directory, out);
  return topology.Succeeded() && directory.Succeeded() ? 0 : 1;
}

}  // namespace mapvine
