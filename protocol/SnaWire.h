#pragma once

// Wire layout of the verbs that cross the `SnaCtl` entry point of the SNA
// node's operator library (libsnactl.so). Shared, unchanged, by Mapvine and
// by the simulated node in snanode/: it must stay self-contained.
//
// Every block is little-endian; offsets are bytes from the start of the
// block or of an entry. The caller clears a block to zero before setting
// its fields and passes the block's address and length to
//
//     extern "C" void SnaCtl(void* block, std::uint32_t length);
//
// 64-bit buffer addresses: the query header has a 4-byte buffer-address
// field at offset 12. On a 64-bit platform the address travels split: its
// low 32 bits at offset 12 and its high 32 bits in the otherwise reserved
// field at offset 20. Use StoreBufferAddress / LoadBufferAddress; every
// other offset is exactly as below.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace snawire {

// --- Common header (every verb) -------------------------------------------
inline constexpr std::size_t kOpcode = 0;          // u16
inline constexpr std::size_t kPrimaryRc = 4;       // u16, 0 = success
inline constexpr std::size_t kSecondaryRc = 8;     // u32

// --- Query header (the four query verbs) ------------------------------------
inline constexpr std::size_t kBufferAddressLow = 12;   // u32
inline constexpr std::size_t kBufferSize = 16;         // u32
inline constexpr std::size_t kBufferAddressHigh = 20;  // u32 (reserved on 32-bit)
inline constexpr std::size_t kEntryCount = 24;         // u16, in/out; 0 in = no limit
inline constexpr std::size_t kTotalEntries = 26;       // u16, out
inline constexpr std::size_t kListOptions = 28;        // u8
inline constexpr std::size_t kKey = 30;                // verb-specific key

inline constexpr std::uint8_t kListFromStart = 0x11;
inline constexpr std::uint8_t kListAfterKey = 0x09;
inline constexpr std::uint8_t kListAtKey = 0x05;

// --- Opcodes and block lengths ------------------------------------------------
inline constexpr std::uint16_t kOpNodeTopologyQuery = 0x210F;
inline constexpr std::uint16_t kOpTgTopologyQuery = 0x2110;
inline constexpr std::uint16_t kOpDirectoryQuery = 0x2105;
inline constexpr std::uint16_t kOpDirectoryLuQuery = 0x2106;
inline constexpr std::uint16_t kOpAping = 0x2060;

inline constexpr std::uint32_t kNodeTopologyQueryLength = 52;
inline constexpr std::uint32_t kTgTopologyQueryLength = 72;
inline constexpr std::uint32_t kDirectoryQueryLength = 72;
inline constexpr std::uint32_t kDirectoryLuQueryLength = 48;
inline constexpr std::uint32_t kApingLength = 308;

// --- Names -------------------------------------------------------------------
// Network-qualified names: 17 EBCDIC bytes padded with 0x40; first byte 0x00
// means no name.
inline constexpr std::size_t kNameLength = 17;
inline constexpr std::uint8_t kEbcdicBlank = 0x40;

// --- NodeTopologyQuery key ------------------------------------------------------
inline constexpr std::size_t kNodeKeyName = 30;  // 17 bytes
inline constexpr std::size_t kNodeKeyType = 47;  // u8

// --- TgTopologyQuery key ----------------------------------------------------------
inline constexpr std::size_t kTgKeyOwner = 30;            // 17 bytes
inline constexpr std::size_t kTgKeyOwnerType = 47;        // u8
inline constexpr std::size_t kTgKeyDestination = 48;      // 17 bytes
inline constexpr std::size_t kTgKeyDestinationType = 65;  // u8
inline constexpr std::size_t kTgKeyNumber = 66;           // u8

// --- DirectoryLuQuery key -----------------------------------------------------------
inline constexpr std::size_t kLuKeyName = 30;  // 17 bytes

// --- Entries: every entry starts with its own length (u16) ----------------------------
inline constexpr std::size_t kEntryLength = 0;

// Node record (NodeTopologyQuery entry).
inline constexpr std::size_t kNodeRecordSize = 56;
inline constexpr std::size_t kNodeName = 2;            // 17 bytes
inline constexpr std::size_t kNodeType = 19;           // u8: 2 network node, 4 connection network
inline constexpr std::size_t kNodeDaysLeft = 20;       // u16
inline constexpr std::size_t kNodeFrsn = 24;           // u32
inline constexpr std::size_t kNodeRsn = 28;            // u32
inline constexpr std::size_t kNodeRar = 32;            // u8
inline constexpr std::size_t kNodeStatus = 33;         // u8
inline constexpr std::size_t kNodeFunctionSupport = 34;  // u8
inline constexpr std::uint8_t kNodeTypeNetworkNode = 2;
inline constexpr std::uint8_t kNodeTypeConnectionNetwork = 4;
// Node status bits (0 = uncongested).
inline constexpr std::uint8_t kNodeCongested = 0x80;
inline constexpr std::uint8_t kNodeIrrDepleted = 0x40;
inline constexpr std::uint8_t kNodeErrDepleted = 0x20;
inline constexpr std::uint8_t kNodeQuiescing = 0x04;
// Function-support bits.
inline constexpr std::uint8_t kFunctionBorderNode = 0x40;
inline constexpr std::uint8_t kFunctionIsr = 0x20;
inline constexpr std::uint8_t kFunctionRtpTower = 0x10;
inline constexpr std::uint8_t kFunctionHpr = 0x08;
inline constexpr std::uint8_t kFunctionCds = 0x04;
inline constexpr std::uint8_t kFunctionGateway = 0x02;

// TG record (TgTopologyQuery entry).
inline constexpr std::size_t kTgRecordSize = 124;
inline constexpr std::size_t kTgOwner = 2;              // 17 bytes
inline constexpr std::size_t kTgOwnerType = 19;         // u8
inline constexpr std::size_t kTgDestination = 20;       // 17 bytes
inline constexpr std::size_t kTgDestinationType = 37;   // u8
inline constexpr std::size_t kTgNumber = 38;            // u8
inline constexpr std::size_t kTgFrsn = 40;              // u32
inline constexpr std::size_t kTgDaysLeft = 44;          // u16
inline constexpr std::size_t kTgRsn = 84;               // u32
inline constexpr std::size_t kTgStatus = 88;            // u8
// TG status bits.
inline constexpr std::uint8_t kTgOperative = 0x80;
inline constexpr std::uint8_t kTgQuiescing = 0x20;
inline constexpr std::uint8_t kTgCpCpSessions = 0x10;
inline constexpr std::uint8_t kTgRtp = 0x02;
inline constexpr std::uint8_t kTgHpr = 0x01;

// Directory record (DirectoryQuery entry).
inline constexpr std::size_t kDirectoryRecordSize = 80;
inline constexpr std::size_t kDirResourceName = 2;   // 17 bytes
inline constexpr std::size_t kDirResourceType = 20;  // u16
inline constexpr std::size_t kDirDescription = 22;   // 16 bytes, stored as is
inline constexpr std::size_t kDirDescriptionLength = 16;
inline constexpr std::size_t kDirParentName = 38;    // 17 bytes
inline constexpr std::size_t kDirParentType = 56;    // u16
inline constexpr std::size_t kDirEntryType = 58;     // u8: 0 cached, 2 registered, 3 local
inline constexpr std::size_t kDirLocation = 59;      // u8: 0 local, 1 attached EN, 2 cross domain
inline constexpr std::uint8_t kDirEntryLocal = 3;
inline constexpr std::uint8_t kDirLocationLocal = 0;
inline constexpr std::uint16_t kResourceLu = 0x00F3;
inline constexpr std::uint16_t kResourceEndNode = 0x00F4;
inline constexpr std::uint16_t kResourceNetworkNode = 0x00F6;

// LU detail (DirectoryLuQuery entry): kept, not interpreted.
inline constexpr std::size_t kLuDetailSize = 92;

// --- APING block --------------------------------------------------------------------
inline constexpr std::size_t kApingNameField = 40;        // 8 bytes of 0x40
inline constexpr std::size_t kApingTpName = 48;           // 64 bytes: "APINGD" in EBCDIC, 0x40 padded
inline constexpr std::size_t kApingTpNameLength = 64;
inline constexpr std::size_t kApingFlag = 112;            // u8
inline constexpr std::size_t kApingDataLength = 136;      // u16
inline constexpr std::size_t kApingIterations = 138;      // u16
inline constexpr std::size_t kApingPartner = 140;         // 17 bytes
inline constexpr std::size_t kApingEcho = 157;            // u8
inline constexpr std::size_t kApingCount = 158;           // u16
inline constexpr std::size_t kApingAllocateTime = 160;    // u32, ms
inline constexpr std::size_t kApingMinTime = 164;         // u32, ms
inline constexpr std::size_t kApingAverageTime = 168;     // u32, ms
inline constexpr std::size_t kApingMaxTime = 172;         // u32, ms
inline constexpr std::size_t kApingValue = 176;           // u16

// --- Return codes the simulated node answers with -------------------------------------
inline constexpr std::uint16_t kRcOk = 0x0000;
inline constexpr std::uint16_t kRcParameterCheck = 0x0100;
inline constexpr std::uint16_t kRcStateCheck = 0x0200;
inline constexpr std::uint16_t kRcAllocationError = 0x0300;
inline constexpr std::uint16_t kRcCommSubsystemNotLoaded = 0x04F0;
inline constexpr std::uint16_t kRcUnsuccessful = 0x1400;
inline constexpr std::uint16_t kRcInvalidVerb = 0xFFFF;
inline constexpr std::uint32_t kRcNodeNotStarted = 0x00001B00;

// --- Little-endian access within a block whose length the caller checked -------------
inline std::uint16_t GetU16(const std::uint8_t* block, std::size_t offset) {
  return static_cast<std::uint16_t>(block[offset] | (block[offset + 1] << 8));
}
inline std::uint32_t GetU32(const std::uint8_t* block, std::size_t offset) {
  return static_cast<std::uint32_t>(block[offset]) |
         (static_cast<std::uint32_t>(block[offset + 1]) << 8) |
         (static_cast<std::uint32_t>(block[offset + 2]) << 16) |
         (static_cast<std::uint32_t>(block[offset + 3]) << 24);
}
inline void PutU16(std::uint8_t* block, std::size_t offset, std::uint16_t value) {
  block[offset] = static_cast<std::uint8_t>(value);
  block[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}
inline void PutU32(std::uint8_t* block, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) block[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline void StoreBufferAddress(std::uint8_t* block, const void* buffer) {
  const auto address = reinterpret_cast<std::uintptr_t>(buffer);
  PutU32(block, kBufferAddressLow, static_cast<std::uint32_t>(address));
  PutU32(block, kBufferAddressHigh, static_cast<std::uint32_t>(static_cast<std::uint64_t>(address) >> 32));
}
inline std::uint8_t* LoadBufferAddress(const std::uint8_t* block) {
  const std::uint64_t address = GetU32(block, kBufferAddressLow) |
                                (static_cast<std::uint64_t>(GetU32(block, kBufferAddressHigh)) << 32);
  return reinterpret_cast<std::uint8_t*>(static_cast<std::uintptr_t>(address));
}

}  // namespace snawire
