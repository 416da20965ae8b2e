#include "node/NodeAnswers.h"

#include "node/DirectoryQuery.h"
#include "node/TopologyQuery.h"

namespace mapvine {

NodeAnswers AskNode(const SnaCtlFunction& snaCtl) {
  NodeAnswers answers;
  answers.outcome.topology = QueryTopology(snaCtl, answers.tables);
  answers.outcome.directory = QueryDirectory(snaCtl, answers.tables);
  return answers;
}

}  // namespace mapvine
