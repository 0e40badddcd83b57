// A few threads that help the calling thread with independent pieces of one
// job, such as the runs of vertices of a large face set. The calling thread
// always works on the job itself and hands out pieces one at a time from a
// shared counter, so a helper that the system has not scheduled yet (the
// machine's cores are shared with the OpenGL driver and other programs)
// costs nothing: the caller takes its pieces. A helper descheduled in the
// middle of a piece does cost a wait, so the pool times its jobs and works
// alone while that is faster (see worker_pool.cpp). Helpers watch for the
// next job for a few tens of microseconds and then sleep.
#pragma once

namespace quillmere {

// Calls work(context, piece) once for every piece in [0, pieces), on the
// calling thread and on up to threads − 1 helpers (threads ≤ 0: one per
// core), and returns when every piece is done. Pieces must be independent:
// which thread runs a piece is not fixed. Helpers are started on the first
// call that wants them and then kept; a call allocates nothing after that.
// Calls from several threads at once are taken one after the other.
void runPieces(long pieces, int threads, void (*work)(void* context, long piece), void* context);

// The number of threads runPieces uses for `threads` (≤ 0: one per core).
int workerThreadCount(int threads);

} // namespace quillmere
