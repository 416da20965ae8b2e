#pragma once

// Test doubles for the node's SnaCtl entry: a recorder that notes every
// request on its way to a real (simulated) node, and a scripted node that
// answers whatever a test tells it to, hostile answers included.

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "protocol/VerbBlock.h"

namespace mapvine::testing {

using Bytes = std::vector<std::uint8_t>;

// The caller's side of one verb call, as the node saw it.
struct Request {
  std::uint16_t opcode = 0;
  std::uint32_t blockLength = 0;
  std::uint16_t entryCount = 0;
  std::uint8_t listOptions = 0;
  Bytes key;  // block bytes from the key offset to the block's end
  std::uint32_t bufferSize = 0;
};

Request ReadRequest(const void* block, std::uint32_t length);

class RecordingNode {
 public:
  explicit RecordingNode(SnaCtlFunction node) : node_(std::move(node)) {}

  // The wrapped entry point; valid while this object lives.
  SnaCtlFunction Function();
  const std::vector<Request>& Requests() const { return requests_; }
  std::vector<Request> RequestsFor(std::uint16_t opcode) const;

 private:
  SnaCtlFunction node_;
  std::vector<Request> requests_;
};

// What a scripted node writes back for one request.
struct Reply {
  std::uint16_t primaryRc = 0;
  std::uint32_t secondaryRc = 0;
  std::uint16_t entryCount = 0;
  std::uint16_t total = 0;
  Bytes buffer;  // copied into the caller's buffer, cut at its size
};

// Like any node, it writes only within the block and buffer lengths given.
SnaCtlFunction ScriptedNode(std::function<Reply(const Request&)> answer);

// Entries as a node lays them out (names are network-qualified text).
Bytes NodeEntry(std::string_view name, std::uint8_t type, std::uint16_t length = 56);
Bytes TgEntry(std::string_view owner, std::string_view destination, std::uint8_t number, std::uint8_t status,
              std::uint16_t length = 124);
Bytes DirectoryEntry(std::string_view resource, std::uint16_t type, std::string_view parent,
                     std::uint16_t parentType, std::uint16_t length = 80);
void Append(Bytes& to, const Bytes& more);

}  // namespace mapvine::testing
