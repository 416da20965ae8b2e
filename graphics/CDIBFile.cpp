// Loading and saving images by path, with the file dialogs and messages the
// user sees, and loading the bitmaps that ship with the program.
#include <cerrno>
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

// The whole file, or the reason it could not be read: the system's words,
// or its size when it is larger than any bitmap this program would show.
struct FileBytes {
  std::vector<std::uint8_t> bytes;
  std::string error;
};

FileBytes ReadWholeFile(const std::string& path) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return {{}, error.message()};
  if (size > CDIB::kMaxFileBytes) return {{}, "larger than any bitmap this program shows"};
  std::ifstream in(path, std::ios::binary);
  if (!in) return {{}, std::generic_category().message(errno)};
  FileBytes file;
  try {
    file.bytes.resize(static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    return {{}, "not enough memory to read it"};
  }
  in.read(reinterpret_cast<char*>(file.bytes.data()), static_cast<std::streamsize>(file.bytes.size()));
  // A file that shrank meanwhile is read as far as it goes.
  file.bytes.resize(static_cast<std::size_t>(in.gcount()));
  return file;
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

std::string FailedToOpenText(std::string_view path, std::string_view systemReason) {
  return std::string(CDIB::kFailedToOpen) + " \"" + std::string(path) + "\": " + std::string(systemReason);
}

DibLoadResult CDIB::Load(const std::string& path) {
  loaded_ = true;
  std::string chosen = path;
  if (chosen.empty()) {
    std::optional<std::string> answer = Prompts().AskOpenFileName(kFileFilter);
    if (!answer) return {};
    chosen = std::move(*answer);
  }
  const FileBytes file = ReadWholeFile(chosen);
  if (!file.error.empty()) return DibLoadResult::Refused(FailedToOpenText(chosen, file.error));
  ByteReader reader(file.bytes);
  DibLoadResult result = Load(reader);
  if (!result) result.reason = "Cannot use the image \"" + chosen + "\".\n" + result.reason;
  return result;
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
    Prompts().ShowWarning(FailedToOpenText(chosen, std::generic_category().message(errno)));
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
  const FileBytes file = ReadWholeFile(*path);
  if (!file.error.empty()) return false;
  ByteReader reader(file.bytes);
  return static_cast<bool>(CDIB::Load(reader));
}

}  // namespace mapvine
