// The saved picture on disk. POSIX calls give the temporary file, the flush
// to disk and the atomic rename that keep a failed save from costing the
// previous file.
#include "model/TopologyFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "base/UserPrompts.h"
#include "graphics/CDIB.h"
#include "model/SavedTopology.h"

namespace mapvine {
namespace topology {
namespace {

// Collects small writes and hands them to the descriptor in large blocks.
class DescriptorSink final : public ByteSink {
 public:
  explicit DescriptorSink(int fd) : fd_(fd) { buffer_.reserve(kBufferBytes); }

  bool Write(std::span<const std::uint8_t> bytes) override {
    if (failed_) return false;
    if (buffer_.size() + bytes.size() > kBufferBytes && !Flush()) return false;
    if (bytes.size() >= kBufferBytes) return WriteAll(bytes);
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    return true;
  }

  bool Flush() {
    if (failed_ || !WriteAll(buffer_)) return false;
    buffer_.clear();
    return true;
  }

 private:
  static constexpr std::size_t kBufferBytes = 1 << 16;

  bool WriteAll(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
      const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) {
        failed_ = true;
        return false;
      }
      bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
  }

  int fd_;
  bool failed_ = false;
  std::vector<std::uint8_t> buffer_;
};

std::filesystem::path FolderOf(const std::string& path) {
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  return folder.empty() ? std::filesystem::path(".") : folder;
}

// mkstemp makes files readable by their owner only; a saved picture keeps
// the permissions of the file it replaces, or gets those of any new file.
void GiveUsualPermissions(int fd, const std::string& path) {
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0) {
    ::fchmod(fd, old.st_mode & 07777);
    return;
  }
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
}

// The rename itself lives in the folder: flush it too, so that the new name
// survives a crash. Its failure loses nothing that was asked for.
void FlushFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// The file a path names once symbolic links are followed, even when that
// file does not exist yet. A relative link counts from its own folder.
// nullopt for a chain as long as the system refuses (a loop, most likely).
std::optional<std::string> LinkTarget(const std::string& path) {
  namespace fs = std::filesystem;
  constexpr int kMaxLinkHops = 40;  // as many as Linux follows in one lookup
  fs::path current = path;
  for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(current, error))) return current.string();
    const fs::path target = fs::read_symlink(current, error);
    if (error) return std::nullopt;
    current = target.is_absolute() ? target : current.parent_path() / target;
  }
  return std::nullopt;
}

}  // namespace

bool ReplaceFileAtomically(const std::string& requested,
                           const std::function<bool(ByteSink&)>& write) {
  // Renaming over a symbolic link would put a plain file in its place and
  // leave the file it points to as it was: the new bytes go to that file.
  const std::optional<std::string> target = LinkTarget(requested);
  if (!target) return false;
  const std::string& path = *target;
  const std::filesystem::path folder = FolderOf(path);
  std::string temporary = (folder / ".mapvine-save-XXXXXX").string();
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return false;
  GiveUsualPermissions(fd, path);

  bool complete = false;
  {
    DescriptorSink sink(fd);
    complete = write(sink) && sink.Flush();
  }
  complete = complete && ::fsync(fd) == 0;
  complete = ::close(fd) == 0 && complete;
  if (complete && ::rename(temporary.c_str(), path.c_str()) == 0) {
    FlushFolder(folder);
    return true;
  }
  ::unlink(temporary.c_str());
  return false;
}

}  // namespace topology

namespace {

std::string SystemReason() { return std::generic_category().message(errno); }

// Reads the whole file into `bytes`; the reason it could not, in the
// system's words where it has some, or empty when it was read.
std::string ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return SystemReason();
  struct stat info {};
  std::string error;
  if (::fstat(fd, &info) != 0) {
    error = SystemReason();
  } else if (!S_ISREG(info.st_mode)) {
    error = "not a regular file";
  } else if (static_cast<std::uint64_t>(info.st_size) > kMaxTopologyFileBytes) {
    error = "larger than any saved topology";
  } else {
    try {
      bytes.resize(static_cast<std::size_t>(info.st_size));
    } catch (const std::bad_alloc&) {
      error = "not enough memory to read it";
    }
  }
  std::size_t filled = 0;
  while (error.empty() && filled < bytes.size()) {
    const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) error = SystemReason();
    if (got <= 0) break;  // a file that shrank meanwhile is taken as it now is
    filled += static_cast<std::size_t>(got);
  }
  ::close(fd);
  bytes.resize(filled);
  return error;
}

}  // namespace

bool SaveTopologyFile(const CMapvineDoc& doc, const std::string& path) {
  const bool saved = topology::ReplaceFileAtomically(
      path, [&doc](ByteSink& out) { return StoreTopology(doc, out); });
  if (!saved) Prompts().ShowMessage(CDIB::kFailedToSave);
  return saved;
}

LoadOutcome OpenTopologyFile(CMapvineDoc& doc, const std::string& path) {
  std::vector<std::uint8_t> bytes;
  if (const std::string error = ReadWholeFile(path, bytes); !error.empty()) {
    Prompts().ShowWarning(FailedToOpenText(path, error));
    return LoadOutcome::Unreadable;
  }
  return LoadTopology(doc, bytes);
}

}  // namespace mapvine
