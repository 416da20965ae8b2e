#pragma once

// Counted strings of the saved picture: a length prefix of 1, 3 or 7 bytes
// followed by the bytes, no terminator.

#include <string>
#include <string_view>

#include "base/ByteReader.h"
#include "base/ByteSink.h"

namespace mapvine::topology {

bool WriteCountedString(ByteSink& out, std::string_view text);
// Fails, leaving the reader where it was, when the prefix or the text runs
// past the end or the prefix is one no writer produces.
bool ReadCountedString(ByteReader& in, std::string& text);

}  // namespace mapvine::topology
