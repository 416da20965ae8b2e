#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace mapvine {

// The node's single entry point: it reads the verb control block, acts, and
// writes every outcome back into the block (and into the data buffer the
// block points to). The loaded library's SnaCtl is wrapped in one of these;
// tests pass a simulated node or a hostile double.
using SnaCtlFunction = std::function<void(void* block, std::uint32_t length)>;

// The outcome of a verb: the primary return code is the only failure signal.
struct VerbStatus {
  std::uint16_t opcode = 0;  // the verb that answered, so a failure can name it
  std::uint16_t primaryRc = 0;
  std::uint32_t secondaryRc = 0;
  bool Succeeded() const { return primaryRc == 0; }
};

// A verb control block of fixed length. Offsets passed to the accessors are
// the wire constants of SnaWire.h and must lie inside the block.
class VerbBlock {
 public:
  VerbBlock(std::uint16_t opcode, std::uint32_t length);

  // Clears the whole block and sets the opcode again: done before every
  // call, so nothing the node wrote last time is sent back to it.
  void Reset();

  void SetU8(std::size_t offset, std::uint8_t value);
  void SetU16(std::size_t offset, std::uint16_t value);
  void SetU32(std::size_t offset, std::uint32_t value);
  void SetBytes(std::size_t offset, std::span<const std::uint8_t> bytes);
  // Points the query header at the caller's data buffer (address and size).
  void SetBuffer(std::span<std::uint8_t> buffer);

  std::uint8_t U8(std::size_t offset) const;
  std::uint16_t U16(std::size_t offset) const;
  std::uint32_t U32(std::size_t offset) const;
  std::span<const std::uint8_t> Bytes() const { return bytes_; }

  // Calls the node with this block and returns the return codes it wrote.
  VerbStatus Issue(const SnaCtlFunction& snaCtl);

 private:
  std::uint16_t opcode_;
  std::vector<std::uint8_t> bytes_;
};

}  // namespace mapvine
