#pragma once

// Splits one line of a network description into words. Words are separated
// by blanks or tabs; a double-quoted stretch (desc="Payroll host") belongs
// to its word, blanks included; '#' outside quotes starts a comment.

#include <string>
#include <string_view>
#include <vector>

namespace snanode {

struct SplitLine {
  std::vector<std::string_view> words;  // views into the line, quotes kept
  std::string error;                    // non-empty when the line is malformed
};

SplitLine SplitDescriptionLine(std::string_view line);

// A word's value with one pair of surrounding double quotes removed.
std::string_view Unquote(std::string_view value);

}  // namespace snanode
