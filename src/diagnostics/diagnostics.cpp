#include "diagnostics/diagnostics.h"

#include <cstdio>
#include <cstdlib>

namespace quillmere {

void formatDiagnostic(char (&buffer)[kDiagnosticBufferSize], const char* format, va_list arguments) {
  int written = std::vsnprintf(buffer, sizeof buffer, format, arguments);
  if (written < 0) buffer[0] = '\0';
}

namespace {

// Formats into the bounded buffer and writes it to standard error, with a
// newline when the printer adds one.
void writeDiagnostic(bool appendNewline, const char* format, va_list arguments) {
  char buffer[kDiagnosticBufferSize];
  formatDiagnostic(buffer, format, arguments);
  std::fputs(buffer, stderr);
  if (appendNewline) std::fputc('\n', stderr);
  std::fflush(stderr);
}

} // namespace

void printWarning(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  writeDiagnostic(false, format, arguments);
  va_end(arguments);
}

void printInformation(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  writeDiagnostic(true, format, arguments);
  va_end(arguments);
}

void printFatal(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  writeDiagnostic(true, format, arguments);
  va_end(arguments);
  std::exit(1);
}

} // namespace quillmere
