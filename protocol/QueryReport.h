#pragma once

#include <ostream>

#include "protocol/NodeAnswers.h"

namespace mapvine {

// Writes what the topology and directory queries returned as readable
// text: the counts, every node and TG with its decoded status, every LU
// with its parent; or, for a query that failed, its return codes.
void PrintQueryReport(const NodeAnswers& answers, std::ostream& out);

}  // namespace mapvine
