#pragma once

// The saved picture (".top" file): nodes with their positions, icons and
// names, links, the background and icon images and the view settings.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/ByteSink.h"
#include "base/ByteSource.h"
#include "model/MapvineDoc.h"

namespace mapvine {

inline constexpr std::string_view kTopologySignature = "Kelvra Tarnwell Topology V1.01";
inline constexpr std::string_view kInvalidFileFormat = "Invalid File Format";
inline constexpr std::string_view kCorruptedFile = "Corrupted File, Unable to Load";
// Files larger than this are refused before anything is read.
inline constexpr std::uint64_t kMaxTopologyFileBytes = std::uint64_t{1} << 30;

// Writes the whole picture. False when a write fails or when the document
// holds something the loader would refuse (then nothing is written).
bool StoreTopology(const CMapvineDoc& doc, ByteSink& out);

enum class LoadOutcome { Loaded, InvalidFormat, Corrupted };

// Replaces the document by the picture in `bytes`. A refused file shows its
// message and leaves a new, empty picture behind.
LoadOutcome LoadTopology(CMapvineDoc& doc, std::span<const std::uint8_t> bytes);
// The same, reading through a window (a file too large to hold at once).
LoadOutcome LoadTopology(CMapvineDoc& doc, ByteSource& bytes);

// Saves to `path` without ever destroying the previous file: the picture is
// written to a temporary file beside it, which replaces the old one only
// once it is complete and on disk. False (after "Failed to save file") when
// anything went wrong; the old file and the document are then unchanged.
bool SaveTopologyFile(const CMapvineDoc& doc, const std::string& path);

// Reads `path` and loads it. False (after "Failed to open file") only when
// the file could not be read, and then the document is untouched; a file
// that was read but refused still answers true, having shown its message.
bool OpenTopologyFile(CMapvineDoc& doc, const std::string& path);

}  // namespace mapvine
