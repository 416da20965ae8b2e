#pragma once

#include <cstdint>
#include <string>

namespace mapvine {

// Words for the coded fields of topology and directory records.
std::string NodeTypeText(std::uint8_t nodeType);          // "network node", "connection network", "node type 7"
std::string NodeStatusText(std::uint8_t status);          // "uncongested" or e.g. "congested, quiescing"
std::string TgStatusText(std::uint8_t status);            // "operative" or "inoperative", then the other bits
std::string ResourceTypeText(std::uint16_t resourceType); // "LU", "end node", "network node", "resource type 0x00F9"

}  // namespace mapvine
