#pragma once

// The topology records a node or link keeps from its last report.
#include "base/RecordBytes.h"

namespace mapvine {

// Kind of a node (`nodeType`).
enum NodeKind : int {
  NetworkNode = 1,
  EndNode = 2,
  LogicalUnit = 3,
  ConnectionNetwork = 4,
};

}  // namespace mapvine
