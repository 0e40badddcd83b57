// The fixture of the tests that run the quillmere program itself: each test
// gets a folder of its own, the program runs in it and its files are read
// back from it. Without a display the program draws offscreen through EGL;
// with neither the test is skipped.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
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
  // Runs quillmere with `arguments`; what it prints goes to output.txt, and
  // to the test's log when it ends with a status other than 0. A run that the
  // machine rather than the program failed (the leak checker's tracer could
  // not stop the threads, or the X server refused the connection) runs again.
  int run(const std::string& arguments) {
    const std::string command = "'" QUILLMERE_PROGRAM "' " + arguments + " >output.txt 2>&1";
    int status = shell(command);
    for (int retry = 0; retry < 2 && status == 1 && failedForTheMachine(output()); ++retry) status = shell(command);
    if (status != 0) std::cout << "quillmere " << arguments << " ended with " << status << ":\n" << output() << '\n';
    return status;
  }
  static bool failedForTheMachine(const std::string& output) {
    return output.find("LeakSanitizer has encountered a fatal error") != std::string::npos ||
           output.find("failed to open display") != std::string::npos;
  }
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
