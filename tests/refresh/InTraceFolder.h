#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/Trace.h"

namespace mapvine {

// Runs each test in a fresh folder, so "mapvine.trc" starts empty, and
// leaves tracing off afterwards.
class InTraceFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    folder_ = std::filesystem::temp_directory_path() /
              ("mapvine-refresh-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
    std::filesystem::current_path(folder_);
  }
  void TearDown() override {
    SetTraceEnabled(false);
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(folder_);
  }
  static std::string TraceText() {
    std::ifstream in("mapvine.trc", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

 private:
  std::filesystem::path previous_;
  std::filesystem::path folder_;
};

}  // namespace mapvine
