// Loading and saving images by path, with the file dialogs and messages the
// user sees, and loading the bitmaps that ship with the program.
#include <filesystem>
#include <fstream>
#include <new>
#include <optional>
#include <system_error>
#include <vector>

#include "base/UserPrompts.h"
#include "graphics/CDIB.h"
#include "graphics/ResourceFiles.h"

namespace mapvine {
namespace {

// The whole file, or nothing when it cannot be read or is larger than any
// bitmap this program would show.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size > CDIB::kMaxFileBytes) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  try {
    bytes.resize(static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  // A file that shrank meanwhile is read as far as it goes.
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

class StreamSink final : public ByteSink {
 public:
  explicit StreamSink(std::ostream& out) : out_(out) {}
  bool Write(std::span<const std::uint8_t> bytes) override {
    out_.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out_);
  }

 private:
  std::ostream& out_;
};

}  // namespace

bool CDIB::Load(const std::string& path) {
  loaded_ = true;
  std::string chosen = path;
  if (chosen.empty()) {
    std::optional<std::string> answer = Prompts().AskOpenFileName(kFileFilter);
    if (!answer) return false;
    chosen = std::move(*answer);
  }
  const std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(chosen);
  if (!bytes) return false;
  ByteReader reader(*bytes);
  return Load(reader);
}

bool CDIB::Save(const std::string& path) const {
  std::string chosen = path;
  if (chosen.empty()) {
    std::optional<std::string> answer = Prompts().AskSaveFileName(kFileFilter);
    if (!answer) return false;
    chosen = std::move(*answer);
  }
  std::ofstream out(chosen, std::ios::binary | std::ios::trunc);
  if (!out) {
    Prompts().ShowMessage(kFailedToOpen);
    return false;
  }
  StreamSink sink(out);
  bool saved = Save(sink);
  out.close();
  saved = saved && !out.fail();
  if (!saved) Prompts().ShowMessage(kFailedToSave);
  return saved;
}

// Shipped bitmaps go through the same checked reader as users' files; a
// missing or damaged one leaves the image as it was.
bool CDIB::LoadFromResource(std::string_view name) {
  loaded_ = true;
  const std::optional<std::string> path = FindResourceFile(name);
  if (!path) return false;
  const std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(*path);
  if (!bytes) return false;
  ByteReader reader(*bytes);
  return CDIB::Load(reader);
}

}  // namespace mapvine
