#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "protocol/SnaLibrary.h"
#include "protocol/TopologyQuery.h"

namespace mapvine {
namespace {

// Sets or clears $MAPVINE_SNACTL for one test and restores it afterwards.
class ChosenLibrary {
 public:
  explicit ChosenLibrary(const char* path) {
    if (const char* old = std::getenv("MAPVINE_SNACTL")) saved_ = old;
    if (path != nullptr) {
      setenv("MAPVINE_SNACTL", path, 1);
    } else {
      unsetenv("MAPVINE_SNACTL");
    }
  }
  ~ChosenLibrary() {
    if (saved_.empty()) {
      unsetenv("MAPVINE_SNACTL");
    } else {
      setenv("MAPVINE_SNACTL", saved_.c_str(), 1);
    }
  }

 private:
  std::string saved_;
};

TEST(SnaLibrary, ExplicitChoiceIsTheOnlyCandidate) {
  const ChosenLibrary chosen("/nowhere/libsnactl.so");
  EXPECT_EQ(SnaLibraryCandidates(), std::vector<std::string>{"/nowhere/libsnactl.so"});
  const SnaLibrary library = LoadSnaLibrary();
  EXPECT_FALSE(library.Loaded());
  EXPECT_NE(library.error.find("/nowhere/libsnactl.so"), std::string::npos) << library.error;
  EXPECT_NE(library.error.find("No such file"), std::string::npos) << library.error;
  EXPECT_EQ(library.error.find('\n'), std::string::npos) << "one line";
}

TEST(SnaLibrary, WithoutAChoiceTheProgramFolderComesBeforeTheSystemPath) {
  const ChosenLibrary chosen(nullptr);
  const auto candidates = SnaLibraryCandidates();
  ASSERT_EQ(candidates.size(), 2u);
  EXPECT_EQ(candidates[0], std::string(MAPVINE_TEST_BIN_DIR) + "/libsnactl.so");
  EXPECT_EQ(candidates[1], "libsnactl.so");
}

TEST(SnaLibrary, LibraryWithoutTheEntryIsRefusedAndNamed) {
  const SnaLibrary library = LoadSnaLibrary({MAPVINE_NO_SNACTL_LIBRARY, "/nowhere/libsnactl.so"});
  EXPECT_FALSE(library.Loaded());
  const std::string& error = library.error;
  EXPECT_NE(error.find(std::string(MAPVINE_NO_SNACTL_LIBRARY) + ": no SnaCtl entry"), std::string::npos) << error;
  // Every candidate appears, in the order tried.
  EXPECT_LT(error.find(MAPVINE_NO_SNACTL_LIBRARY), error.find("/nowhere/libsnactl.so")) << error;
}

TEST(SnaLibrary, FirstLibraryWithTheEntryAnswers) {
  const SnaLibrary library = LoadSnaLibrary({"/nowhere/libsnactl.so", MAPVINE_NO_SNACTL_LIBRARY, MAPVINE_SNACTL_LIBRARY});
  ASSERT_TRUE(library.Loaded()) << library.error;
  EXPECT_TRUE(library.error.empty());
  TopologyTables tables;
  ASSERT_TRUE(QueryTopology(library.snaCtl, tables).Succeeded());
  EXPECT_FALSE(tables.topology.empty());
}

}  // namespace
}  // namespace mapvine
