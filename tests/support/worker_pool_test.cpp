// The pool that shares a job's independent pieces among threads.
#include "support/worker_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <thread>
#include <vector>

namespace quillmere {
namespace {

struct Tally {
  std::vector<std::atomic<int>> calls;
  explicit Tally(long pieces) : calls(std::size_t(pieces)) {}
};

void count(void* context, long piece) { ++static_cast<Tally*>(context)->calls[std::size_t(piece)]; }

TEST(WorkerPool, RunsEveryPieceExactlyOnceForAnyThreadCount) {
  for (int threads : {1, 2, 7, 0, -3})
    for (long pieces : {0L, 1L, 3L, 10L, 1000L}) {
      SCOPED_TRACE(threads);
      SCOPED_TRACE(pieces);
      for (int repeat = 0; repeat < 20; ++repeat) { // jobs back to back, as the face sets of a frame
        Tally tally(pieces);
        runPieces(pieces, threads, count, &tally);
        for (long piece = 0; piece < pieces; ++piece) ASSERT_EQ(tally.calls[std::size_t(piece)].load(), 1);
      }
    }
}

TEST(WorkerPool, CallsFromSeveralThreadsAreTakenOneAfterTheOther) {
  std::deque<Tally> tallies; // atomics do not move
  for (int i = 0; i < 3; ++i) tallies.emplace_back(500);
  std::vector<std::thread> callers;
  for (Tally& tally : tallies)
    callers.emplace_back([&tally] {
      for (int repeat = 0; repeat < 10; ++repeat) runPieces(500, 2, count, &tally);
    });
  for (std::thread& caller : callers) caller.join();
  for (Tally& tally : tallies)
    for (std::atomic<int>& calls : tally.calls) EXPECT_EQ(calls.load(), 10);
}

} // namespace
} // namespace quillmere
