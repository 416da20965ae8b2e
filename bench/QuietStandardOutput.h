#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace mapvine {

// Sends standard output nowhere for as long as it lives: every APING of a
// status pass prints its timings, which would bury the benchmark's report.
class QuietStandardOutput {
 public:
  QuietStandardOutput() {
    std::fflush(stdout);
    ::dup2(nowhere_, STDOUT_FILENO);
  }
  ~QuietStandardOutput() {
    std::fflush(stdout);
    ::dup2(output_, STDOUT_FILENO);
    ::close(output_);
    ::close(nowhere_);
  }
  QuietStandardOutput(const QuietStandardOutput&) = delete;
  QuietStandardOutput& operator=(const QuietStandardOutput&) = delete;

 private:
  int output_ = ::dup(STDOUT_FILENO);
  int nowhere_ = ::open("/dev/null", O_WRONLY);
};

}  // namespace mapvine
