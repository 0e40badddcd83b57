// The fixture of the tests that run the quillmere program itself: each test
// gets a folder of its own, the program runs in it and its files are read
// back from it. Without a display the program draws offscreen through EGL;
// with neither the test is skipped.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace quillmere::test {

class ProgramFolder : public testing::Test {
protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("quillmere-" + std::to_string(::getpid()) + "-" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    if (!std::getenv("DISPLAY") && !eglWorks()) GTEST_SKIP() << "no display and no EGL";
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  bool eglWorks() { return run("--headless --frames 1 --screenshot probe.png --size 32x32") == 0; }

  // Runs `command` in the test's folder; returns its exit status.
  int shell(const std::string& command) {
    int status = std::system(("cd '" + folder_.string() + "' && " + command).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  // Runs quillmere with `arguments`; what it prints goes to output.txt.
  int run(const std::string& arguments) { return shell("'" QUILLMERE_PROGRAM "' " + arguments + " >output.txt 2>&1"); }
  std::string path(const std::string& name) const { return (folder_ / name).string(); }
  void write(const std::string& name, const std::string& text) const { std::ofstream(folder_ / name) << text; }
  std::string text(const std::string& name) const {
    std::ifstream in(path(name));
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
  }
  std::string output() const { return text("output.txt"); } // of the last run

  std::filesystem::path folder_;
};

} // namespace quillmere::test
