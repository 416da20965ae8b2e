// libsnactl.so as a program loads it: dlopen, SnaCtl, $SNANODE_NETWORK.
// Each case runs in a child process so that the library builds its node
// afresh from that case's environment.

#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "protocol/SnaWire.h"
#include "snanode/NameCodec.h"

namespace snanode::test {
namespace {

using SnaCtlFunction = void (*)(void*, std::uint32_t);
using ChildBody = std::string (*)(SnaCtlFunction);

struct ChildResult {
  int exitCode = -1;
  std::string output;  // what the body returned
  std::string errors;  // the library's standard error
};

std::string ReadAll(int fd) {
  std::string text;
  char chunk[4096];
  for (ssize_t n; (n = read(fd, chunk, sizeof chunk)) > 0;) text.append(chunk, static_cast<std::size_t>(n));
  close(fd);
  return text;
}

ChildResult RunWithLibrary(const char* networkPath, ChildBody body) {
  int out[2];
  int err[2];
  if (pipe(out) != 0 || pipe(err) != 0) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(err[1], STDERR_FILENO);
    close(out[0]);
    close(err[0]);
    if (networkPath != nullptr) {
      setenv("SNANODE_NETWORK", networkPath, 1);
    } else {
      unsetenv("SNANODE_NETWORK");
    }
    void* library = dlopen(SNACTL_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) _exit(3);
    const auto snaCtl = reinterpret_cast<SnaCtlFunction>(dlsym(library, "SnaCtl"));
    if (snaCtl == nullptr) _exit(4);
    const std::string text = body(snaCtl);
    const bool written = write(out[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
    _exit(written ? 0 : 5);
  }
  close(out[1]);
  close(err[1]);
  ChildResult result;
  result.output = ReadAll(out[0]);
  result.errors = ReadAll(err[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

// Node list from the start, into a stack buffer (its address needs the high
// half of the split address field), then APING to NETA.EN1.
std::string QueryAndPing(SnaCtlFunction snaCtl) {
  std::uint8_t block[snawire::kNodeTopologyQueryLength] = {};
  std::uint8_t buffer[1024] = {};
  snawire::PutU16(block, snawire::kOpcode, snawire::kOpNodeTopologyQuery);
  snawire::StoreBufferAddress(block, buffer);
  snawire::PutU32(block, snawire::kBufferSize, sizeof buffer);
  block[snawire::kListOptions] = snawire::kListFromStart;
  snaCtl(block, sizeof block);
  std::string text = "rc=" + std::to_string(snawire::GetU16(block, snawire::kPrimaryRc)) +
                     " total=" + std::to_string(snawire::GetU16(block, snawire::kTotalEntries)) +
                     " first=" + std::to_string(buffer[snawire::kNodeName + 7]);

  std::uint8_t aping[snawire::kApingLength] = {};
  snawire::PutU16(aping, snawire::kOpcode, snawire::kOpAping);
  const WireName partner = EncodeName("NETA.EN1");
  std::copy(partner.begin(), partner.end(), aping + snawire::kApingPartner);
  snaCtl(aping, sizeof aping);
  return text + " aping=" + std::to_string(snawire::GetU16(aping, snawire::kPrimaryRc)) + "/" +
         std::to_string(snawire::GetU32(aping, snawire::kApingAllocateTime));
}

class SnaCtlLibrary : public ::testing::Test {
 protected:
  std::string WriteNetwork(const std::string& text) {
    path_ = std::filesystem::temp_directory_path() / ("snanode_test_" + std::to_string(getpid()) + ".net");
    std::ofstream(path_) << text;
    return path_.string();
  }
  void TearDown() override {
    if (!path_.empty()) std::filesystem::remove(path_);
  }
  std::filesystem::path path_;
};

TEST_F(SnaCtlLibrary, ServesTheNetworkNamedByTheEnvironment) {
  const std::string path = WriteNetwork(
      "nn NETA.NN2\nnn NETA.NN1\nen NETA.EN1 server=NETA.NN1\naping NETA.EN1 ok 17 1 2 3\n");
  const ChildResult result = RunWithLibrary(path.c_str(), QueryAndPing);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.output, "rc=0 total=2 first=241 aping=0/17");  // 241: EBCDIC '1' of NETA.NN1
  EXPECT_EQ(result.errors, "");
}

TEST_F(SnaCtlLibrary, ServesTheSampleWithoutTheEnvironment) {
  const ChildResult result = RunWithLibrary(nullptr, QueryAndPing);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.output.rfind("rc=0 total=8 ", 0), 0u) << result.output;
}

TEST_F(SnaCtlLibrary, BadDescriptionIsReportedAndEveryVerbFails) {
  const std::string path = WriteNetwork("nn NETA.NN1\nlu NETA.LU1 parent=NETA.NOPE\n");
  const ChildResult result = RunWithLibrary(path.c_str(), QueryAndPing);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.output, "rc=1264 total=0 first=0 aping=1264/0");  // 0x04F0
  EXPECT_EQ(result.errors, path + ":2: parent NETA.NOPE of NETA.LU1 is not defined\n");
}

TEST_F(SnaCtlLibrary, MissingDescriptionFileIsReportedAndEveryVerbFails) {
  const ChildResult result = RunWithLibrary("/nonexistent/snanode.net", QueryAndPing);
  EXPECT_EQ(result.output, "rc=1264 total=0 first=0 aping=1264/0");
  EXPECT_NE(result.errors.find("/nonexistent/snanode.net: cannot open"), std::string::npos);
}

}  // namespace
}  // namespace snanode::test
