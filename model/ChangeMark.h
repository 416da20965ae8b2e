#pragma once

#include <cstdint>

namespace mapvine {

// What a refresh found changed about a node or link: it appeared (or came
// back), it was no longer reported, or its status went one way or the
// other. The picture marks it until the person acknowledges the change.
enum class ChangeMark : std::uint8_t { None, New, Gone, WentInactive, WentActive };

}  // namespace mapvine
