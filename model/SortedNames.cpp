#include "model/SortedNames.h"

#include <algorithm>
#include <functional>

namespace mapvine {

namespace {

// A gathered name with its first bytes as two numbers that order as the
// bytes do: most comparisons end there, without reaching the text, which
// lies scattered over the gathered block.
struct SortKey {
  std::uint64_t head0 = 0;
  std::uint64_t head1 = 0;
  std::size_t start = 0;
  std::size_t length = 0;
};

// Up to eight bytes of `name` from `from` on, the first the most
// significant, missing ones as zero.
std::uint64_t HeadOf(std::string_view name, std::size_t from) {
  std::uint64_t head = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    const std::size_t at = from + i;
    head = (head << 8) | (at < name.size() ? static_cast<unsigned char>(name[at]) : 0u);
  }
  return head;
}

}  // namespace

SortedNames::SortedNames(const CSpriteList& nodes) {
  // The names are gathered into one block first and sorted there: sorting
  // views of the nodes' own strings would visit every node again at each
  // comparison, far apart in memory.
  std::string gathered;
  std::vector<SortKey> keys;
  keys.reserve(2 * nodes.size());
  const auto gather = [&](const std::string& name) {
    keys.push_back({HeadOf(name, 0), HeadOf(name, 8), gathered.size(), name.size()});
    gathered += name;
  };
  for (const auto& node : nodes) {
    gather(node->label);
    if (!node->fqName.empty()) gather(node->fqName);
  }
  const auto view = [&gathered](const SortKey& key) {
    return std::string_view(gathered).substr(key.start, key.length);
  };
  // Equal heads say nothing of the rest (nor of a zero byte against a
  // shorter name): only then is the text compared.
  std::sort(keys.begin(), keys.end(), [&](const SortKey& a, const SortKey& b) {
    if (a.head0 != b.head0) return a.head0 < b.head0;
    if (a.head1 != b.head1) return a.head1 < b.head1;
    return view(a) < view(b);
  });
  keys.erase(std::unique(keys.begin(), keys.end(),
                         [&](const SortKey& a, const SortKey& b) {
                           return a.head0 == b.head0 && a.head1 == b.head1 && view(a) == view(b);
                         }),
             keys.end());
  text_.reserve(gathered.size());
  starts_.reserve(keys.size() + 1);
  for (const SortKey& key : keys) {
    starts_.push_back(text_.size());
    text_ += view(key);
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
