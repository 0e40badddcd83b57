#include "relativity/lu_decomposition.h"

#include <cmath>

namespace quillmere {

namespace {

constexpr double kTinyPivot = 1.0e-20; // stands in for an exactly zero pivot

// Implicit row scaling: 1 / (largest magnitude of the row).
void computeRowScales(double a[kMaxLuSize][kMaxLuSize], int n, double scale[kMaxLuSize],
                      void (*reportSingularRow)(const double* row, int n)) {
  for (int i = 0; i < n; ++i) {
    double big = 0.0;
    for (int j = 0; j < n; ++j) big = std::fmax(big, std::fabs(a[i][j]));
    if (big == 0.0) reportSingularRow(a[i], n);
    scale[i] = 1.0 / big; // an all-zero row gives an infinite scale; the work goes on
  }
}

void swapRows(double a[kMaxLuSize][kMaxLuSize], int n, int first, int second) {
  for (int k = 0; k < n; ++k) {
    double held = a[first][k];
    a[first][k] = a[second][k];
    a[second][k] = held;
  }
}

} // namespace

void luDecompose(double a[kMaxLuSize][kMaxLuSize], int n, int rowIndex[kMaxLuSize], double& parity,
                 void (*reportSingularRow)(const double* row, int n)) {
  double scale[kMaxLuSize];
  computeRowScales(a, n, scale, reportSingularRow);
  parity = 1.0;
  for (int j = 0; j < n; ++j) {
    // Upper elements above the diagonal.
    for (int i = 0; i < j; ++i) {
      double sum = a[i][j];
      for (int k = 0; k < i; ++k) sum -= a[i][k] * a[k][j];
      a[i][j] = sum;
    }
    // Diagonal and lower elements, choosing the pivot row; a later row wins a tie.
    double big = 0.0;
    int pivotRow = j;
    for (int i = j; i < n; ++i) {
      double sum = a[i][j];
      for (int k = 0; k < j; ++k) sum -= a[i][k] * a[k][j];
      a[i][j] = sum;
      double merit = scale[i] * std::fabs(sum);
      if (merit >= big) {
        big = merit;
        pivotRow = i;
      }
    }
    if (j != pivotRow) {
      swapRows(a, n, pivotRow, j);
      parity = -parity;
      scale[pivotRow] = scale[j];
    }
    rowIndex[j] = pivotRow;
    if (a[j][j] == 0.0) a[j][j] = kTinyPivot;
    if (j != n - 1) {
      double inversePivot = 1.0 / a[j][j];
      for (int i = j + 1; i < n; ++i) a[i][j] *= inversePivot;
    }
  }
}

void luBackSubstitute(const double a[kMaxLuSize][kMaxLuSize], int n, const int rowIndex[kMaxLuSize],
                      double b[kMaxLuSize]) {
  // Forward substitution, applying the recorded row swaps and skipping the
  // leading zeros of the right-hand side.
  int firstNonZero = -1;
  for (int i = 0; i < n; ++i) {
    int swapped = rowIndex[i];
    double sum = b[swapped];
    b[swapped] = b[i];
    if (firstNonZero >= 0) {
      for (int j = firstNonZero; j < i; ++j) sum -= a[i][j] * b[j];
    } else if (sum != 0.0) {
      firstNonZero = i;
    }
    b[i] = sum;
  }
  // Back substitution.
  for (int i = n - 1; i >= 0; --i) {
    double sum = b[i];
    for (int j = i + 1; j < n; ++j) sum -= a[i][j] * b[j];
    b[i] = sum / a[i][i];
  }
}

void luInvert(double a[kMaxLuSize][kMaxLuSize], int n, void (*reportSingularRow)(const double* row, int n)) {
  int rowIndex[kMaxLuSize];
  double parity;
  luDecompose(a, n, rowIndex, parity, reportSingularRow);
  double inverse[kMaxLuSize][kMaxLuSize];
  for (int column = 0; column < n; ++column) {
    double unit[kMaxLuSize] = {0, 0, 0, 0};
    unit[column] = 1.0;
    luBackSubstitute(a, n, rowIndex, unit);
    for (int row = 0; row < n; ++row) inverse[row][column] = unit[row];
  }
  for (int row = 0; row < n; ++row)
    for (int column = 0; column < n; ++column) a[row][column] = inverse[row][column];
}

} // namespace quillmere
