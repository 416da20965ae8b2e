#pragma once

#include <string>
#include <string_view>

namespace mapvine {

// The resource part of a network-qualified name ("NETA.NN1" -> "NN1"): what
// follows the first dot, or the whole name when it has no dot. The picture
// labels its nodes with it, and finds them by it.
inline std::string_view ShortNameView(std::string_view name) {
  const auto dot = name.find('.');
  return dot == std::string_view::npos ? name : name.substr(dot + 1);
}

inline std::string ShortName(std::string_view name) { return std::string(ShortNameView(name)); }

}  // namespace mapvine
