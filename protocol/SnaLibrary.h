#pragma once

#include <string>
#include <vector>

#include "protocol/VerbBlock.h"

namespace mapvine {

// The node library's file name and entry point.
inline constexpr const char* kSnaLibraryName = "libsnactl.so";
inline constexpr const char* kSnaCtlSymbol = "SnaCtl";

// Either the loaded entry point or, when every candidate failed, one line
// naming each candidate tried and why it failed.
struct SnaLibrary {
  SnaCtlFunction snaCtl;
  std::string error;
  bool Loaded() const { return static_cast<bool>(snaCtl); }
};

// Where to look, in order: $MAPVINE_SNACTL alone when it is set (an explicit
// choice is never silently replaced by another library); otherwise the
// program's own folder, then the system search path (which, for an
// installed program, takes in the library folder its run path names).
std::vector<std::string> SnaLibraryCandidates();

// Tries each candidate with dlopen until one exports SnaCtl. The library
// that answers stays loaded for the rest of the program's life.
SnaLibrary LoadSnaLibrary(const std::vector<std::string>& candidates);
inline SnaLibrary LoadSnaLibrary() { return LoadSnaLibrary(SnaLibraryCandidates()); }

}  // namespace mapvine
