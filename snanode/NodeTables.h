#pragma once

// The lists the query verbs serve, encoded once from a network: what the
// node's topology database and directory hold.

#include "snanode/ApingTable.h"
#include "snanode/EntryList.h"
#include "snanode/Network.h"

namespace snanode {

// Node type of an end node at either end of a TG record. End nodes are not
// in the topology database itself; the program learns them from the
// directory and draws only types 2 and 4 from node records.
inline constexpr std::uint8_t kNodeTypeEndNode = 3;

struct NodeTables {
  // Node records: network nodes and connection networks, by name then type.
  EntryList nodes;
  // TG records by owner, owner type, destination, destination type, number.
  EntryList tgs;
  // Directory records and the matching LU details, by resource name.
  EntryList directory;
  EntryList luDetails;
  ApingTable aping;
};

NodeTables BuildNodeTables(const Network& network);

}  // namespace snanode
