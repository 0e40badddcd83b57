#include "scene/assimp_probe.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

namespace quillmere {

ProbeVerdict runInChild(const std::function<void()>& read, int& signalNumber, int timeoutSeconds) {
  signalNumber = 0;
  const pid_t child = fork();
  if (child < 0) return ProbeVerdict::NotRun;
  if (child == 0) {
    // A crash ends the child by its signal, past any handler the process
    // installed (a sanitizer's or a fuzzer's would report it as its own).
    for (int deadly : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) signal(deadly, SIG_DFL);
    const int nowhere = open("/dev/null", O_WRONLY);
    if (nowhere >= 0) dup2(nowhere, STDERR_FILENO);
    read();
    _exit(0);
  }
  const timespec pause{0, 5 * 1000 * 1000}; // 5 ms between looks
  const long looks = long(timeoutSeconds) * 200;
  for (long look = 0; look <= looks; ++look) {
    int status = 0;
    const pid_t done = waitpid(child, &status, WNOHANG);
    if (done == child) {
      // The child leaves with 0 after the read; anything else (a signal,
      // or a sanitizer's report and exit) is a crash.
      if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return ProbeVerdict::Finished;
      signalNumber = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
      return ProbeVerdict::Crashed;
    }
    if (done < 0 && errno != EINTR) return ProbeVerdict::NotRun;
    nanosleep(&pause, nullptr);
  }
  kill(child, SIGKILL);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return ProbeVerdict::TimedOut;
}

ProbeVerdict probeModelFile(const std::string& path, unsigned flags, int& signal, int timeoutSeconds) {
  return runInChild(
      [&] {
        Assimp::Importer importer;
        importer.ReadFile(path, flags);
      },
      signal, timeoutSeconds);
}

ProbeVerdict probeModelBytes(const unsigned char* bytes, std::size_t size, const char* hint, unsigned flags,
                             int& signal, int timeoutSeconds) {
  return runInChild(
      [&] {
        Assimp::Importer importer;
        importer.ReadFileFromMemory(bytes, size, flags, hint);
      },
      signal, timeoutSeconds);
}

} // namespace quillmere
