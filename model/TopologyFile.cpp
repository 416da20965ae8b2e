// The saved picture on disk. POSIX calls give the temporary file, the flush
// to disk and the atomic rename that keep a failed save from costing the
// previous file.
#include "model/TopologyFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
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

// A saved picture read front to back through a window that holds the
// record being read and up to a megabyte after it: a large picture's file
// is mostly node icons the picture does not keep, and is never held whole.
class FileWindow final : public ByteSource {
 public:
  FileWindow(int fd, std::uint64_t size) : fd_(fd), left_(size) {}
  ~FileWindow() override { ::close(fd_); }
  FileWindow(const FileWindow&) = delete;
  FileWindow& operator=(const FileWindow&) = delete;

  ByteReader& Reader() override { return reader_; }
  std::uint64_t Remaining() const override { return reader_.Remaining() + left_; }

  bool Widen() override {
    if (left_ == 0) return false;
    const std::size_t unread = reader_.Remaining();
    const std::size_t added = static_cast<std::size_t>(
        std::min<std::uint64_t>(std::max(kMinimumWindow, 2 * unread) - unread, left_));
    try {
      if (buffer_.size() < unread + added) buffer_.resize(unread + added);
    } catch (const std::bad_alloc&) {
      error_ = "not enough memory to read it";
      left_ = 0;
      return false;
    }
    std::memmove(buffer_.data(), buffer_.data() + reader_.Position(), unread);
    std::size_t filled = unread;
    while (filled < unread + added) {
      const ssize_t got = ::read(fd_, buffer_.data() + filled, unread + added - filled);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) error_ = SystemReason();
      if (got <= 0) {  // a file that shrank meanwhile is taken as it now is
        left_ = 0;
        break;
      }
      filled += static_cast<std::size_t>(got);
      left_ -= static_cast<std::uint64_t>(got);
    }
    reader_ = ByteReader(std::span<const std::uint8_t>(buffer_).first(filled));
    return filled > unread;
  }

  // Why the file could not be read, in the system's words; empty while it
  // could.
  const std::string& Error() const { return error_; }

 private:
  static constexpr std::size_t kMinimumWindow = 1 << 20;

  int fd_;
  std::uint64_t left_;  // bytes of the file not yet in the window
  std::vector<std::uint8_t> buffer_;
  ByteReader reader_{std::span<const std::uint8_t>()};
  std::string error_;
};

// The file opened for reading, or the reason it cannot be, in the system's
// words where it has some.
std::unique_ptr<FileWindow> OpenSavedFile(const std::string& path, std::string& error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = SystemReason();
    return nullptr;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    error = SystemReason();
  } else if (!S_ISREG(info.st_mode)) {
    error = "not a regular file";
  } else if (static_cast<std::uint64_t>(info.st_size) > kMaxTopologyFileBytes) {
    error = "larger than any saved topology";
  } else {
    return std::make_unique<FileWindow>(fd, static_cast<std::uint64_t>(info.st_size));
  }
  ::close(fd);
  return nullptr;
}

}  // namespace

bool SaveTopologyFile(const CMapvineDoc& doc, const std::string& path) {
  const bool saved = topology::ReplaceFileAtomically(
      path, [&doc](ByteSink& out) { return StoreTopology(doc, out); });
  if (!saved) Prompts().ShowMessage(CDIB::kFailedToSave);
  return saved;
}

bool OpenTopologyFile(CMapvineDoc& doc, const std::string& path) {
  std::string error;
  std::unique_ptr<FileWindow> file = OpenSavedFile(path, error);
  // The first window is read before the document is touched, so that a
  // file that cannot be read at all leaves it as it was. A read that fails
  // later ends the file there, and the load refuses it as damaged.
  if (file) {
    file->Widen();
    error = file->Error();
  }
  if (!error.empty()) {
    Prompts().ShowWarning(FailedToOpenText(path, error));
    return false;
  }
  // A refused file has shown its own message; the open itself went through.
  LoadTopology(doc, *file);
  return true;
}

}  // namespace mapvine
