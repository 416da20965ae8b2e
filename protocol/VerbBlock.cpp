#include "protocol/VerbBlock.h"

#include <algorithm>
#include <cassert>

#include "base/LittleEndian.h"
#include "protocol/SnaWire.h"

namespace mapvine {

VerbBlock::VerbBlock(std::uint16_t opcode, std::uint32_t length) : opcode_(opcode), bytes_(length) {
  assert(length >= snawire::kKey);
  Reset();
}

void VerbBlock::Reset() {
  std::fill(bytes_.begin(), bytes_.end(), std::uint8_t{0});
  SetU16(snawire::kOpcode, opcode_);
}

void VerbBlock::SetU8(std::size_t offset, std::uint8_t value) {
  assert(offset < bytes_.size());
  bytes_[offset] = value;
}

void VerbBlock::SetU16(std::size_t offset, std::uint16_t value) {
  assert(offset + 2 <= bytes_.size());
  StoreU16(bytes_.data() + offset, value);
}

void VerbBlock::SetU32(std::size_t offset, std::uint32_t value) {
  assert(offset + 4 <= bytes_.size());
  StoreU32(bytes_.data() + offset, value);
}

void VerbBlock::SetBytes(std::size_t offset, std::span<const std::uint8_t> bytes) {
  assert(offset + bytes.size() <= bytes_.size());
  std::copy(bytes.begin(), bytes.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
}

void VerbBlock::SetBuffer(std::span<std::uint8_t> buffer) {
  snawire::StoreBufferAddress(bytes_.data(), buffer.data());
  SetU32(snawire::kBufferSize, static_cast<std::uint32_t>(buffer.size()));
}

std::uint8_t VerbBlock::U8(std::size_t offset) const {
  assert(offset < bytes_.size());
  return bytes_[offset];
}

std::uint16_t VerbBlock::U16(std::size_t offset) const {
  assert(offset + 2 <= bytes_.size());
  return LoadU16(bytes_.data() + offset);
}

std::uint32_t VerbBlock::U32(std::size_t offset) const {
  assert(offset + 4 <= bytes_.size());
  return LoadU32(bytes_.data() + offset);
}

VerbStatus VerbBlock::Issue(const SnaCtlFunction& snaCtl) {
  snaCtl(bytes_.data(), static_cast<std::uint32_t>(bytes_.size()));
  return VerbStatus{opcode_, U16(snawire::kPrimaryRc), U32(snawire::kSecondaryRc)};
}

}  // namespace mapvine
