#include "support/worker_pool.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace quillmere {

namespace {

// Waking a sleeping thread takes tens of microseconds on a virtual machine,
// as long as the whole transform of a small face set. Within a frame the
// face sets follow one another closely, so a helper that has finished a job
// watches for the next one this long before it sleeps, and the caller
// watches for the helpers to finish this long before it sleeps. Bounded, so
// an idle viewer or a loaded machine loses no more than this per job.
constexpr auto kWatch = std::chrono::microseconds(50);

// Whether helpers pay off depends on what else the cores are doing: on a
// machine busy with other programs a helper is often descheduled in the
// middle of a piece, and the caller then waits a scheduler time slice for
// it. So the pool keeps the recent time per piece with helpers and alone,
// uses the faster way, and tries the other one again after kRetry. The
// results are the same either way.
constexpr auto kRetry = std::chrono::milliseconds(100);

// Calls `done` until it returns true or kWatch has passed; returns its last value.
template <typename Condition>
bool watch(Condition done) {
  auto until = std::chrono::steady_clock::now() + kWatch;
  for (;;) {
    for (int i = 0; i < 64; ++i)
      if (done()) return true;
    if (std::chrono::steady_clock::now() >= until) return done();
  }
}

// A helper is told of a job through `generation`: it joins a job at most
// once, only while the job is open, and the caller closes the job and waits
// for the helpers inside it before it returns, so no helper touches a job's
// context after runPieces has returned.
class WorkerPool {
public:
  ~WorkerPool() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& helper : helpers_) helper.join();
  }

  void run(long pieces, int threads, void (*work)(void*, long), void* context) {
    std::lock_guard<std::mutex> oneJobAtATime(callMutex_);
    const auto start = std::chrono::steady_clock::now();
    bool helped = secondsPerPiece_[1] <= secondsPerPiece_[0];
    if (start - lastTried_[!helped] >= kRetry) helped = !helped;
    lastTried_[helped] = start;
    if (helped) {
      // A job that started helpers says nothing about the next ones.
      if (runWithHelpers(pieces, threads, work, context)) return;
    } else {
      for (long piece = 0; piece < pieces; ++piece) work(context, piece);
    }
    double perPiece = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / double(pieces);
    double& recent = secondsPerPiece_[helped];
    recent = recent > 0.0 ? 0.75 * recent + 0.25 * perPiece : perPiece;
  }

private:
  // Returns true when it had to start helpers for this job.
  bool runWithHelpers(long pieces, int threads, void (*work)(void*, long), void* context) {
    bool started = false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      // Started here, on the rare call that wants more helpers than before.
      while (int(helpers_.size()) < threads - 1) {
        started = true;
        int index = int(helpers_.size());
        helpers_.emplace_back([this, index] { serve(index); });
      }
      work_ = work;
      context_ = context;
      pieces_ = pieces;
      next_.store(0, std::memory_order_relaxed);
      helpersWanted_ = threads - 1;
      open_ = true;
      ++generation_;
      published_.store(generation_, std::memory_order_release);
    }
    wake_.notify_all();
    takePieces(work, context, pieces);
    watch([this] { return busy_.load(std::memory_order_acquire) == 0; });
    std::unique_lock<std::mutex> lock(mutex_);
    open_ = false;
    finished_.wait(lock, [this] { return busy_ == 0; });
    return started;
  }

  void takePieces(void (*work)(void*, long), void* context, long pieces) {
    for (long piece = next_.fetch_add(1, std::memory_order_relaxed); piece < pieces;
         piece = next_.fetch_add(1, std::memory_order_relaxed))
      work(context, piece);
  }

  void serve(int index) {
    unsigned long seen = 0;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      if (generation_ == seen) {
        lock.unlock();
        watch([&] { return published_.load(std::memory_order_acquire) != seen; });
        lock.lock();
      }
      wake_.wait(lock, [&] { return stopping_ || (open_ && generation_ != seen && index < helpersWanted_); });
      if (stopping_) return;
      seen = generation_;
      ++busy_;
      void (*work)(void*, long) = work_;
      void* context = context_;
      long pieces = pieces_;
      lock.unlock();
      takePieces(work, context, pieces);
      lock.lock();
      if (--busy_ == 0) finished_.notify_one();
    }
  }

  std::mutex callMutex_;                // one job at a time
  std::mutex mutex_;                    // guards everything below but next_
  std::condition_variable wake_;        // a job was opened, or the pool stops
  std::condition_variable finished_;    // the last helper left the job
  std::vector<std::thread> helpers_;
  void (*work_)(void*, long) = nullptr;
  void* context_ = nullptr;
  long pieces_ = 0;
  std::atomic<long> next_{0};           // the next piece nobody has taken
  int helpersWanted_ = 0;               // helpers 0 .. helpersWanted_ − 1 may join
  std::atomic<int> busy_{0};            // helpers inside the current job; changed under mutex_
  bool open_ = false;                   // helpers may still join the job
  bool stopping_ = false;
  unsigned long generation_ = 0;        // counts jobs
  std::atomic<unsigned long> published_{0}; // generation_, for helpers watching without the lock
  // Guarded by callMutex_; index 0 alone, 1 with helpers.
  double secondsPerPiece_[2] = {0.0, 0.0};            // recent average; 0 before the first job
  std::chrono::steady_clock::time_point lastTried_[2]; // when each way last ran
};

WorkerPool& pool() {
  static WorkerPool instance;
  return instance;
}

} // namespace

int workerThreadCount(int threads) {
  if (threads > 0) return threads;
  unsigned cores = std::thread::hardware_concurrency();
  return cores > 0 ? int(cores) : 1;
}

void runPieces(long pieces, int threads, void (*work)(void* context, long piece), void* context) {
  threads = workerThreadCount(threads);
  if (threads > pieces) threads = int(pieces);
  if (threads <= 1) {
    for (long piece = 0; piece < pieces; ++piece) work(context, piece);
    return;
  }
  pool().run(pieces, threads, work, context);
}

} // namespace quillmere
