#pragma once

#include <ostream>

#include "model/MapvineDoc.h"

namespace mapvine {

// What a document holds, in a few lines: nodes by kind and how many are
// hidden, links active and inactive, the picture's size.
void PrintDocumentSummary(const CMapvineDoc& doc, std::ostream& out);

}  // namespace mapvine
