#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "protocol/VerbBlock.h"

namespace mapvine {

// The names of the node's return codes, for traces, dialogs and the
// query report. The longest text is 27 characters.
std::string_view PrimaryRcText(std::uint16_t primaryRc);    // "Unknown Primary RC" when not listed
std::string_view SecondaryRcText(std::uint32_t secondaryRc);  // "------" for 0, "Unknown Secondary RC" when not listed

// A failed verb's return codes in words and figures, for the user:
// "PARAMETER_CHECK, NODE_NOT_STARTED (primary 0x0100, secondary 0x00001B00)".
std::string ReturnCodesText(const VerbStatus& status);
// The name of a query verb ("NodeTopologyQuery"); any other by its opcode.
std::string VerbName(std::uint16_t opcode);

template <typename Code>
struct ReturnCodeName {
  Code code;
  std::string_view text;
};

// Every named code, sorted by code.
std::span<const ReturnCodeName<std::uint16_t>> PrimaryRcNames();
std::span<const ReturnCodeName<std::uint32_t>> SecondaryRcNames();

}  // namespace mapvine
