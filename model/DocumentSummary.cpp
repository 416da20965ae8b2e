#include "model/DocumentSummary.h"

namespace mapvine {

void PrintDocumentSummary(const CMapvineDoc& doc, std::ostream& out) {
  int byKind[5] = {};  // indexed by NodeKind; 0 counts anything else
  int hidden = 0;
  for (const auto& node : doc.Nodes()) {
    const int kind = node->nodeType;
    ++byKind[kind >= NetworkNode && kind <= ConnectionNetwork ? kind : 0];
    hidden += node->hidden ? 1 : 0;
  }
  int active = 0;
  for (const auto& link : doc.Links()) active += IsActive(link->status) ? 1 : 0;
  const int links = static_cast<int>(doc.Links().size());

  out << "Picture: " << doc.Nodes().size() << " nodes: " << byKind[NetworkNode]
      << " network nodes, " << byKind[ConnectionNetwork] << " connection networks, "
      << byKind[EndNode] << " end nodes, " << byKind[LogicalUnit] << " logical units";
  if (byKind[0]) out << ", " << byKind[0] << " of other kinds";
  out << "; " << hidden << " hidden\n"
      << "Picture: " << links << " links: " << active << " active, " << links - active
      << " inactive\n"
      << "Picture: " << doc.picture.composedWidth << " x " << doc.picture.composedHeight
      << " pixels\n";
}

}  // namespace mapvine
