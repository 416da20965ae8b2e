#pragma once

#include <string>
#include <vector>

#include "layout/Arrange.h"
#include "model/MapvineDoc.h"

namespace mapvine {

// What arranging needs of a picture, copied on the GUI thread: the plain
// graph a worker lays out, and which node each entry of it stands for.
struct CapturedPicture {
  ArrangeGraph graph;
  std::vector<CNode*> nodes;    // not owned; may leave the picture meanwhile
  std::vector<std::string> names;  // each node's fqName when captured
};
CapturedPicture CapturePicture(const CMapvineDoc& doc);

// Moves the captured nodes that are still in the picture to their arranged
// places, and sizes the canvas to hold them. A node that left the picture
// while the worker ran is passed over. True when anything changed.
bool ApplyArrangement(CMapvineDoc& doc, const CapturedPicture& captured, const Arrangement& arrangement);

// The whole round on the calling thread, for scripts; false when nothing
// changed or the layout failed.
bool ArrangeNow(CMapvineDoc& doc);

}  // namespace mapvine
