#pragma once

// What a saved picture holds after its links: sections that readers which
// stop after the links never see. Each is a tag (a counted string), its
// length in bytes (an int) and that many bytes; a reader passes over the
// sections it does not know.
//
// "Layout": an int of picture flags (1: arranged by connections, 2: new
// resources go onto the grid rather than beside their neighbours), the node
// count, and an int of flags per node in the order of the node records
// (1: pinned, 2: its LUs folded; the other bits are kept for later flags
// and read as 0).

#include <span>
#include <string_view>

#include "base/ByteSink.h"
#include "base/ByteSource.h"
#include "model/MapvineDoc.h"

namespace mapvine::topology {

inline constexpr std::string_view kLayoutSection = "Layout";

// Writes the sections; nothing at all when the picture has nothing for
// them, so that such a file is what a writer without sections writes.
bool WriteSections(const CMapvineDoc& doc, ByteSink& out);

// Reads the sections after the links; `stored` holds the nodes in the order
// of their records. Unknown sections are passed over; a damaged one, or one
// that does not fit the picture, ends the reading and the picture keeps
// what was read before it, as a reader that knows no sections would.
void ReadSections(ByteSource& in, CMapvineDoc& doc, std::span<CNode* const> stored);

}  // namespace mapvine::topology
