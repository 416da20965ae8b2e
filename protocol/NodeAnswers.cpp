#include "protocol/NodeAnswers.h"

#include "protocol/DirectoryQuery.h"
#include "protocol/TopologyQuery.h"

namespace mapvine {

NodeAnswers AskNode(const SnaCtlFunction& snaCtl) {
  NodeAnswers answers;
  answers.outcome.topology = QueryTopology(snaCtl, answers.tables);
  answers.outcome.directory = QueryDirectory(snaCtl, answers.tables);
  return answers;
}

}  // namespace mapvine
