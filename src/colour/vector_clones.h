// Runtime choice of the instruction set for the few loops that run for every
// sample of every vertex. The binary keeps the baseline x86-64 code and adds
// an AVX2 version that the dynamic loader picks on machines that have it;
// both perform the same operations in the same order (AVX2 without FMA, so
// no multiply-add is fused), only eight floats wide instead of four, so the
// colours do not depend on the machine.
#pragma once

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define QUILLMERE_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define QUILLMERE_VECTOR_CLONES
#endif
