// Saving never costs the previous file; opening reads the file a window at
// a time.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "graphics/CDIBLayout.h"
#include "model/TopologyFile.h"
#include "tests/model/SavedTopologyTestSupport.h"

namespace mapvine {
namespace {

namespace fs = std::filesystem;
using testing::DocumentWithView;
using testing::ScriptedPrompts;
using testing::SmallPicture;
using testing::Stored;
using Bytes = std::vector<std::uint8_t>;

class Folder {
 public:
  Folder() {
    std::string pattern = (fs::temp_directory_path() / "mapvine-save-test-XXXXXX").string();
    path = ::mkdtemp(pattern.data());
  }
  ~Folder() {
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(path);
  }
  std::string File(const char* name) const { return (path / name).string(); }
  std::size_t Entries() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(path), fs::directory_iterator()));
  }
  fs::path path;
};

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

const Bytes kOldFile = {'o', 'l', 'd', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'};

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

TEST(SaveTopologyFile, WritesTheStoredBytesAndOpensThemAgain) {
  Folder folder;
  const std::string path = folder.File("picture.top");
  SmallPicture source;
  ScriptedPrompts prompts;
  ASSERT_TRUE(SaveTopologyFile(source.doc, path));
  EXPECT_EQ(ReadFile(path), Stored(source.doc));
  EXPECT_EQ(folder.Entries(), 1u);  // no temporary file left behind

  DocumentWithView target;
  EXPECT_TRUE(OpenTopologyFile(target.doc, path));
  EXPECT_EQ(target.doc.Nodes().size(), 3u);
  EXPECT_EQ(target.doc.Links().size(), 3u);
  EXPECT_TRUE(prompts.messages.empty());
}

TEST(SaveTopologyFile, KeepsThePermissionsOfTheFileItReplaces) {
  Folder folder;
  const std::string kept = folder.File("kept.top");
  WriteFile(kept, kOldFile);
  ::chmod(kept.c_str(), 0640);
  SmallPicture source;
  ASSERT_TRUE(SaveTopologyFile(source.doc, kept));
  EXPECT_EQ(ModeOf(kept), 0640u);

  const mode_t mask = ::umask(022);
  const std::string fresh = folder.File("fresh.top");
  EXPECT_TRUE(SaveTopologyFile(source.doc, fresh));
  ::umask(mask);
  EXPECT_EQ(ModeOf(fresh), 0644u);
}

TEST(SaveTopologyFile, WritesThroughSymbolicLinksWhichStay) {
  Folder folder;
  fs::create_directory(folder.path / "sub");
  WriteFile(folder.File("sub/real.top"), kOldFile);
  fs::create_symlink("middle.top", folder.path / "picture.top");  // relative to its folder
  fs::create_symlink(folder.path / "sub/real.top", folder.path / "middle.top");
  SmallPicture source;
  ASSERT_TRUE(SaveTopologyFile(source.doc, folder.File("picture.top")));
  EXPECT_EQ(ReadFile(folder.File("sub/real.top")), Stored(source.doc));
  EXPECT_TRUE(fs::is_symlink(folder.path / "picture.top"));
  EXPECT_TRUE(fs::is_symlink(folder.path / "middle.top"));
  EXPECT_EQ(folder.Entries(), 3u);  // no temporary file left behind
}

// Passes the first `limit` bytes on, then fails like a full disk.
class FullDiskSink final : public ByteSink {
 public:
  FullDiskSink(ByteSink& out, std::size_t limit) : out_(out), limit_(limit) {}
  bool Write(std::span<const std::uint8_t> bytes) override {
    if (written_ + bytes.size() > limit_) {
      out_.Write(bytes.first(limit_ - written_));
      written_ = limit_;
      return false;
    }
    written_ += bytes.size();
    return out_.Write(bytes);
  }

 private:
  ByteSink& out_;
  std::size_t limit_;
  std::size_t written_ = 0;
};

TEST(SaveTopologyFile, AFullDiskAtAnyByteKeepsTheOldFile) {
  Folder folder;
  const std::string path = folder.File("picture.top");
  WriteFile(path, kOldFile);
  SmallPicture source;
  const std::size_t size = Stored(source.doc).size();
  for (std::size_t limit = 0; limit < size; ++limit) {
    const bool saved = topology::ReplaceFileAtomically(path, [&](ByteSink& out) {
      FullDiskSink full(out, limit);
      return StoreTopology(source.doc, full);
    });
    ASSERT_FALSE(saved) << limit;
    ASSERT_EQ(ReadFile(path), kOldFile) << limit;
    ASSERT_EQ(folder.Entries(), 1u) << limit;
  }
}

TEST(SaveTopologyFile, FailuresKeepTheOldFileAndSaySo) {
  Folder folder;
  const std::string path = folder.File("picture.top");
  WriteFile(path, kOldFile);
  SmallPicture unstorable;
  StoreU32(unstorable.doc.images[4]->HeaderBlock() + dib::kBiClrUsed, 16);
  SmallPicture good;
  const std::string directory = folder.File("folder.top");
  fs::create_directory(directory);

  struct Case {
    const char* what;
    const CMapvineDoc& doc;
    std::string path;
  };
  const Case cases[] = {
      {"a picture a load would refuse", unstorable.doc, path},
      {"a folder that does not exist", good.doc, folder.File("missing/picture.top")},
      {"a name taken by a folder", good.doc, directory},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedPrompts prompts;
    EXPECT_FALSE(SaveTopologyFile(c.doc, c.path));
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"Failed to save file"});
    EXPECT_EQ(ReadFile(path), kOldFile);
    EXPECT_TRUE(fs::is_directory(directory));
    EXPECT_EQ(folder.Entries(), 2u);
  }
}

TEST(SaveTopologyFile, AReadOnlyFolderKeepsTheOldFile) {
  Folder folder;
  const std::string path = folder.File("picture.top");
  WriteFile(path, kOldFile);
  ::chmod(folder.path.c_str(), 0555);
  SmallPicture source;
  // The folder's write protection binds everyone but root: as root, try in
  // a child that has given its privileges up.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
    ScriptedPrompts prompts;
    const bool saved = SaveTopologyFile(source.doc, path);
    const bool told = prompts.messages == std::vector<std::string>{"Failed to save file"};
    ::_exit(!saved && told ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadFile(path), kOldFile);
  EXPECT_EQ(folder.Entries(), 1u);
}

TEST(OpenTopologyFile, AFileThatCannotBeReadLeavesTheDocumentAlone) {
  Folder folder;
  for (const std::string& path : {folder.File("missing.top"), folder.path.string()}) {
    SmallPicture d;
    ScriptedPrompts prompts;
    EXPECT_FALSE(OpenTopologyFile(d.doc, path)) << path;
    const std::string reason = path.ends_with(".top") ? "No such file or directory" : "not a regular file";
    EXPECT_EQ(prompts.warnings, std::vector<std::string>{"Failed to open file \"" + path + "\": " + reason});
    EXPECT_EQ(d.doc.Nodes().size(), 3u);
    EXPECT_EQ(d.doc.Links().size(), 3u);
  }
}

TEST(OpenTopologyFile, AFileThatWasReadCountsAsOpenedEvenWhenRefused) {
  Folder folder;
  const std::string foreign = folder.File("foreign.top");
  WriteFile(foreign, kOldFile);
  const std::string empty = folder.File("empty.top");
  WriteFile(empty, {});
  for (const std::string& path : {foreign, empty}) {
    SmallPicture d;
    ScriptedPrompts prompts;
    EXPECT_TRUE(OpenTopologyFile(d.doc, path));
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"Invalid File Format"});
    EXPECT_TRUE(d.doc.Nodes().empty());
  }
}

// Opening reads the file a window at a time: a picture several windows
// long opens as it loads from memory, and one cut short past the first
// window is refused alike.
TEST(OpenTopologyFile, ReadsALargeFileAsItLoadsFromMemory) {
  DocumentWithView source;
  testing::UseTinyImages(source.doc);
  source.doc.settings.autoGrow = 0;
  for (int i = 0; i < 3000; ++i) {
    const std::string name = "NN" + std::to_string(i);
    source.doc.NewNode(name, "NETA." + name, NetworkNode, nullptr, nullptr);
    if (i > 0) source.doc.NewLink("NN" + std::to_string(i - 1), name, 1, 21, nullptr);
  }
  const Bytes stored = Stored(source.doc);
  ASSERT_GT(stored.size(), std::size_t{3} << 20);
  Folder folder;
  const std::string path = folder.File("large.top");
  for (const std::size_t size : {stored.size(), (std::size_t{1} << 20) + 100, stored.size() - 1}) {
    WriteFile(path, Bytes(stored.begin(), stored.begin() + static_cast<std::ptrdiff_t>(size)));
    DocumentWithView fromFile, fromMemory;
    ScriptedPrompts prompts;
    EXPECT_TRUE(OpenTopologyFile(fromFile.doc, path));
    const bool loaded = LoadTopology(fromMemory.doc, std::span(stored).first(size)) == LoadOutcome::Loaded;
    EXPECT_EQ(prompts.messages.size(), loaded ? 0u : 2u) << size;
    EXPECT_EQ(Stored(fromFile.doc), Stored(fromMemory.doc)) << size;
  }
}

}  // namespace
}  // namespace mapvine
