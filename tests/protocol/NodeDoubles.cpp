#include "NodeDoubles.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "protocol/SnaNames.h"
#include "protocol/SnaWire.h"

namespace mapvine::testing {

Request ReadRequest(const void* block, std::uint32_t length) {
  const auto* bytes = static_cast<const std::uint8_t*>(block);
  Request request;
  request.opcode = snawire::GetU16(bytes, snawire::kOpcode);
  request.blockLength = length;
  if (length >= snawire::kKey) {
    request.entryCount = snawire::GetU16(bytes, snawire::kEntryCount);
    request.listOptions = bytes[snawire::kListOptions];
    request.bufferSize = snawire::GetU32(bytes, snawire::kBufferSize);
    request.key.assign(bytes + snawire::kKey, bytes + length);
  }
  return request;
}

SnaCtlFunction RecordingNode::Function() {
  return [this](void* block, std::uint32_t length) {
    requests_.push_back(ReadRequest(block, length));
    node_(block, length);
  };
}

std::vector<Request> RecordingNode::RequestsFor(std::uint16_t opcode) const {
  std::vector<Request> matching;
  std::copy_if(requests_.begin(), requests_.end(), std::back_inserter(matching),
               [opcode](const Request& request) { return request.opcode == opcode; });
  return matching;
}

SnaCtlFunction ScriptedNode(std::function<Reply(const Request&)> answer) {
  return [answer = std::move(answer)](void* block, std::uint32_t length) {
    auto* bytes = static_cast<std::uint8_t*>(block);
    const Request request = ReadRequest(block, length);
    const Reply reply = answer(request);
    snawire::PutU16(bytes, snawire::kPrimaryRc, reply.primaryRc);
    snawire::PutU32(bytes, snawire::kSecondaryRc, reply.secondaryRc);
    snawire::PutU16(bytes, snawire::kEntryCount, reply.entryCount);
    snawire::PutU16(bytes, snawire::kTotalEntries, reply.total);
    std::uint8_t* buffer = snawire::LoadBufferAddress(bytes);
    const std::size_t count = std::min<std::size_t>(reply.buffer.size(), request.bufferSize);
    if (count > 0) std::memcpy(buffer, reply.buffer.data(), count);
  };
}

namespace {

void PutName(Bytes& entry, std::size_t offset, std::string_view name) {
  EncodeName(name, std::span(entry).subspan(offset, snawire::kNameLength));
}

Bytes EntryOf(std::size_t size, std::uint16_t length) {
  Bytes entry(size, 0);
  snawire::PutU16(entry.data(), snawire::kEntryLength, length);
  return entry;
}

}  // namespace

Bytes NodeEntry(std::string_view name, std::uint8_t type, std::uint16_t length) {
  Bytes entry = EntryOf(std::max<std::size_t>(length, snawire::kNodeRecordSize), length);
  PutName(entry, snawire::kNodeName, name);
  entry[snawire::kNodeType] = type;
  entry[snawire::kNodeFunctionSupport] = snawire::kFunctionIsr;
  entry[snawire::kNodeRecordSize - 1] = 0xAA;  // last byte kept, to catch short copies
  entry.resize(length);
  return entry;
}

Bytes TgEntry(std::string_view owner, std::string_view destination, std::uint8_t number, std::uint8_t status,
              std::uint16_t length) {
  Bytes entry = EntryOf(std::max<std::size_t>(length, snawire::kTgRecordSize), length);
  PutName(entry, snawire::kTgOwner, owner);
  entry[snawire::kTgOwnerType] = snawire::kNodeTypeNetworkNode;
  PutName(entry, snawire::kTgDestination, destination);
  entry[snawire::kTgDestinationType] = snawire::kNodeTypeNetworkNode;
  entry[snawire::kTgNumber] = number;
  entry[snawire::kTgStatus] = status;
  entry[snawire::kTgRecordSize - 1] = 0xAA;
  entry.resize(length);
  return entry;
}

Bytes DirectoryEntry(std::string_view resource, std::uint16_t type, std::string_view parent,
                     std::uint16_t parentType, std::uint16_t length) {
  Bytes entry = EntryOf(std::max<std::size_t>(length, snawire::kDirectoryRecordSize), length);
  PutName(entry, snawire::kDirResourceName, resource);
  snawire::PutU16(entry.data(), snawire::kDirResourceType, type);
  if (!parent.empty()) PutName(entry, snawire::kDirParentName, parent);
  snawire::PutU16(entry.data(), snawire::kDirParentType, parentType);
  entry[snawire::kDirectoryRecordSize - 1] = 0xAA;
  entry.resize(length);
  return entry;
}

void Append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }

}  // namespace mapvine::testing
