#include "protocol/SnaLibrary.h"

#include <dlfcn.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace mapvine {
namespace {

using SnaCtlEntry = void (*)(void* block, std::uint32_t length);

// dlerror's text usually starts with the file name again; drop that so each
// candidate is named once.
std::string LastDlError(const std::string& candidate) {
  const char* text = dlerror();
  std::string reason = text != nullptr ? text : "unknown error";
  const std::string prefix = candidate + ": ";
  if (reason.starts_with(prefix)) reason.erase(0, prefix.size());
  return reason;
}

}  // namespace

std::vector<std::string> SnaLibraryCandidates() {
  const char* chosen = std::getenv("MAPVINE_SNACTL");
  if (chosen != nullptr && *chosen != '\0') return {chosen};

  std::vector<std::string> candidates;
  std::error_code error;
  const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) candidates.push_back((executable.parent_path() / kSnaLibraryName).string());
  // A plain name makes dlopen use the system search path.
  candidates.push_back(kSnaLibraryName);
  return candidates;
}

SnaLibrary LoadSnaLibrary(const std::vector<std::string>& candidates) {
  std::string failures;
  for (const std::string& candidate : candidates) {
    if (!failures.empty()) failures += "; ";
    void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
      failures += candidate + ": " + LastDlError(candidate);
      continue;
    }
    dlerror();
    void* symbol = dlsym(handle, kSnaCtlSymbol);
    if (symbol == nullptr) {
      failures += candidate + ": no " + kSnaCtlSymbol + " entry (" + LastDlError(candidate) + ")";
      dlclose(handle);
      continue;
    }
    // The handle is deliberately never closed: the entry point must stay
    // valid for as long as the program may call it.
    const auto entry = reinterpret_cast<SnaCtlEntry>(symbol);
    return SnaLibrary{[entry](void* block, std::uint32_t length) { entry(block, length); }, {}};
  }
  if (candidates.empty()) failures = "no candidate to try";
  return SnaLibrary{{}, "cannot load the SNA node library " + std::string(kSnaLibraryName) + " (tried " + failures + ")"};
}

}  // namespace mapvine
