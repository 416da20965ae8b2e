#include "snanode/DescriptionLine.h"

namespace snanode {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

}  // namespace

SplitLine SplitDescriptionLine(std::string_view line) {
  SplitLine result;
  std::size_t i = 0;
  while (i < line.size()) {
    if (IsBlank(line[i])) {
      ++i;
      continue;
    }
    if (line[i] == '#') break;
    const std::size_t start = i;
    bool quoted = false;
    while (i < line.size() && (quoted || (!IsBlank(line[i]) && line[i] != '#'))) {
      if (line[i] == '"') quoted = !quoted;
      ++i;
    }
    if (quoted) {
      result.error = "unterminated quote";
      result.words.clear();
      return result;
    }
    result.words.push_back(line.substr(start, i - start));
  }
  return result;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') return value.substr(1, value.size() - 2);
  return value;
}

}  // namespace snanode
