#pragma once

#include <functional>
#include <string>

#include "base/ByteSink.h"

namespace mapvine::topology {

// Gives `path` the bytes that `write` produces, or leaves it as it was:
// they go to a temporary file in the same folder, which is flushed to disk
// and then renamed over `path` only when `write` answered true and every
// byte landed. A temporary file that is not used is removed. The new file
// keeps the old one's permissions (a new one gets the usual ones). When
// `path` is a symbolic link, the file it points to is the one replaced and
// the link stays.
bool ReplaceFileAtomically(const std::string& path, const std::function<bool(ByteSink&)>& write);

}  // namespace mapvine::topology
