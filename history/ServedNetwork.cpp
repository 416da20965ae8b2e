#include "history/ServedNetwork.h"

namespace mapvine {
namespace {

NetworkKey KeyOf(const std::string& fqName, bool controlPoint) {
  const std::size_t dot = fqName.find('.');
  if (dot == std::string::npos) return {fqName, {}};
  return {fqName.substr(0, dot), controlPoint ? fqName.substr(dot + 1) : std::string()};
}

}  // namespace

NetworkKey ServedNetwork(const CMapvineDoc& doc) {
  if (!doc.localControlPoint.empty()) return KeyOf(doc.localControlPoint, true);
  const auto nodes = doc.NodesByArrival();
  if (nodes.empty()) return {};
  return KeyOf(nodes.front()->fqName, false);
}

}  // namespace mapvine
