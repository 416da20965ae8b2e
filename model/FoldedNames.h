#pragma once

#include <cstddef>
#include <string_view>

namespace mapvine {

// Whole-name equality ignoring the case of ASCII letters. Names reach the
// picture from EBCDIC fields whose letters are all ASCII; bytes of 0x80 and
// up (Latin-1 characters beyond ASCII) must match exactly.
bool SameNameIgnoringCase(std::string_view a, std::string_view b);
// A hash equal for names that SameNameIgnoringCase finds the same.
std::size_t FoldedNameHash(std::string_view name);

}  // namespace mapvine
