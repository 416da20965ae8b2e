#pragma once

#include <cstdint>

namespace mapvine {

// Whether a node is reachable or a link is up: an active node shows its
// active icon, an active link is drawn green. (Not called Status: X11
// defines a macro of that name.) The saved file stores it as 0 or 1.
enum class ResourceStatus : std::uint8_t { Inactive, Active };

constexpr bool IsActive(ResourceStatus status) { return status == ResourceStatus::Active; }

constexpr ResourceStatus StatusFor(bool active) {
  return active ? ResourceStatus::Active : ResourceStatus::Inactive;
}

}  // namespace mapvine
