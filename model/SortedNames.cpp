#include "model/SortedNames.h"

#include <algorithm>
#include <functional>

namespace mapvine {

SortedNames::SortedNames(const CSpriteList& nodes) {
  // The names are gathered into one block first and sorted there: sorting
  // views of the nodes' own strings would visit every node again at each
  // comparison, far apart in memory.
  std::string gathered;
  std::vector<std::pair<std::size_t, std::size_t>> spans;  // start, length
  spans.reserve(2 * nodes.size());
  const auto gather = [&](const std::string& name) {
    spans.emplace_back(gathered.size(), name.size());
    gathered += name;
  };
  for (const auto& node : nodes) {
    gather(node->label);
    if (!node->fqName.empty()) gather(node->fqName);
  }
  const auto view = [&gathered](std::pair<std::size_t, std::size_t> span) {
    return std::string_view(gathered).substr(span.first, span.second);
  };
  std::sort(spans.begin(), spans.end(), [&](auto a, auto b) { return view(a) < view(b); });
  spans.erase(std::unique(spans.begin(), spans.end(),
                          [&](auto a, auto b) { return view(a) == view(b); }),
              spans.end());
  text_.reserve(gathered.size());
  starts_.reserve(spans.size() + 1);
  for (const auto& span : spans) {
    starts_.push_back(text_.size());
    text_ += view(span);
  }
  starts_.push_back(text_.size());
}

std::vector<std::uint32_t> SortedNames::Holding(std::string_view text) const {
  const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; };
  std::string folded(text);
  std::transform(folded.begin(), folded.end(), folded.begin(), fold);
  const std::default_searcher searcher(folded.begin(), folded.end(),
                                       [&fold](char a, char b) { return fold(a) == b; });
  std::vector<std::uint32_t> found;
  for (std::size_t i = 0; i < size(); ++i) {
    const std::string_view name = (*this)[i];
    if (std::search(name.begin(), name.end(), searcher) != name.end()) {
      found.push_back(static_cast<std::uint32_t>(i));
    }
  }
  return found;
}

}  // namespace mapvine
