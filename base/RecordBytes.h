#pragma once

#include <array>
#include <cstdint>

namespace mapvine {

// The records the SNA node reports, kept byte for byte by the nodes and
// links of the picture (the detail dialogs decode them, the saved file
// stores them): the node record (56 bytes), the directory record (80) and
// the TG record (124). Only protocol/ knows what lies inside; the layers
// that keep them treat them as opaque bytes.
using NodeRecordBytes = std::array<std::uint8_t, 56>;
using DirectoryRecordBytes = std::array<std::uint8_t, 80>;
using TgRecordBytes = std::array<std::uint8_t, 124>;

}  // namespace mapvine
