#include "graphics/ResourceFiles.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace mapvine {
namespace {

namespace fs = std::filesystem;

bool IsPlainFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find('/') == std::string_view::npos;
}

bool IsFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

std::vector<fs::path> ResourceFolders() {
  std::vector<fs::path> folders;
  if (const char* configured = std::getenv("MAPVINE_RESOURCES"); configured && *configured) {
    folders.emplace_back(configured);
  }
  std::error_code error;
  const fs::path exe = fs::read_symlink("/proc/self/exe", error);
  if (!error) {
    folders.push_back(exe.parent_path() / ".." / "share" / "mapvine");
    folders.push_back(exe.parent_path() / "resources");
  }
#ifdef MAPVINE_RESOURCE_DIR
  folders.emplace_back(MAPVINE_RESOURCE_DIR);
#endif
  return folders;
}

}  // namespace

std::optional<std::string> FindResourceFile(std::string_view name) {
  if (!IsPlainFileName(name)) return std::nullopt;
  for (const fs::path& folder : ResourceFolders()) {
    const fs::path candidate = folder / name;
    if (IsFile(candidate)) return candidate.string();
  }
  return std::nullopt;
}

std::optional<std::string> FindBitmapFile(std::string_view name) {
  if (!IsPlainFileName(name)) return std::nullopt;
  if (IsFile(fs::path(name))) return std::string(name);
  return FindResourceFile(name);
}

}  // namespace mapvine
