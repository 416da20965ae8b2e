#pragma once

// The hashing the name indexes share. Their tables are
// boost::unordered_flat_map, which mixes whatever hash it is given.
//
// They replaced a hand-written open-addressing table that predicted a
// refresh's walk through the network. Measured on 2026-12-08 (AMD EPYC,
// 2 cores shared with other work) by bench_refresh's BM_RefreshLookups, the
// lookups of a second refresh took, in CPU time per pass:
//   1k resources:  0.060 ms hand-written, 0.063 ms boost
//   64k resources: 22-26 ms hand-written, 27-33 ms boost (medians 22.5 and
//                  28.8 over five interleaved runs)
// The hand-written table was 1.1x to 1.4x faster at 64k, about 1.25x on the
// median: short of the 1.3x that would pay for keeping our own table.

#include <boost/container_hash/hash.hpp>
#include <cstddef>
#include <string_view>

namespace mapvine {

// Hashes names held as std::string and looked up as std::string_view alike.
struct NameHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view name) const { return boost::hash<std::string_view>{}(name); }
};

}  // namespace mapvine
