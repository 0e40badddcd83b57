// Reads a model with Assimp once in a child process before the program
// reads it: some damaged files make Assimp 5.2's readers crash or loop
// without end, and there that ends only the child. POSIX fork; the child
// touches nothing of ours and leaves with _exit.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace quillmere {

enum class ProbeVerdict {
  Finished, // Assimp returned (with a scene or with its error message): safe to read in this process
  Crashed,  // the child ended by a signal (or by a sanitizer's report)
  TimedOut, // the child did not return within the time allowed and was ended
  NotRun,   // no child could be started; the read goes ahead in this process
};

// Assimp's read of a large model takes seconds; far longer is a loop.
constexpr int kModelReadSeconds = 120;

// Runs `read` in a child process whose standard error goes nowhere (a
// crash report there would only repeat the verdict) and waits for it at
// most `timeoutSeconds`, then ends it.
ProbeVerdict runInChild(const std::function<void()>& read, int& signal, int timeoutSeconds);

// The verdict of reading `path` with the post-processing `flags`; `signal`
// is the child's signal when it crashed.
ProbeVerdict probeModelFile(const std::string& path, unsigned flags, int& signal,
                            int timeoutSeconds = kModelReadSeconds);
// The same for bytes in memory, in the format of `hint`.
ProbeVerdict probeModelBytes(const unsigned char* bytes, std::size_t size, const char* hint, unsigned flags,
                             int& signal, int timeoutSeconds = kModelReadSeconds);

} // namespace quillmere
