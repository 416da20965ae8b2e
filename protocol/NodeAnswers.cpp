#include "protocol/NodeAnswers.h"

#include "protocol/DirectoryQuery.h"
#include "protocol/TopologyQuery.h"

namespace mapvine {

NodeAnswers AskNode(const SnaCtlFunction& snaCtl, AskingCount* count) {
  NodeAnswers answers;
  answers.outcome.topology = QueryTopology(snaCtl, answers.tables, count);
  answers.outcome.directory = QueryDirectory(snaCtl, answers.tables, count);
  return answers;
}

}  // namespace mapvine
