// Crout LU decomposition with implicit row scaling and partial pivoting, and
// the matching substitution, for the small dense matrices of the system
// (n = 3 or 4). The matrix is passed as row pointers so the 4×4 (column-major)
// and 3×3 (row-major) types can share the routine.
#pragma once

namespace quillmere {

constexpr int kMaxLuSize = 4;

// Decomposes `a` (n×n, a[i][j] row i, column j) in place. `rowIndex` receives
// the pivot rows, `parity` ±1. An all-zero row is reported through the
// warning printer with `singularMessage` (which may print the row, see the
// callers) and the work goes on; a zero pivot becomes 1e-20.
void luDecompose(double a[kMaxLuSize][kMaxLuSize], int n, int rowIndex[kMaxLuSize], double& parity,
                 void (*reportSingularRow)(const double* row, int n));

// Solves A·x = b in place of b with the decomposition above.
void luBackSubstitute(const double a[kMaxLuSize][kMaxLuSize], int n, const int rowIndex[kMaxLuSize],
                      double b[kMaxLuSize]);

// Inverts the n×n matrix in place (one substitution per unit column).
void luInvert(double a[kMaxLuSize][kMaxLuSize], int n, void (*reportSingularRow)(const double* row, int n));

} // namespace quillmere
