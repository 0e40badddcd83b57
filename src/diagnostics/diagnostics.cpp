#include "diagnostics/diagnostics.h"

#include <cstdio>
#include <cstdlib>

namespace quillmere {

void formatDiagnostic(char (&buffer)[kDiagnosticBufferSize], const char* format, va_list arguments) {
  int written = std::vsnprintf(buffer, sizeof buffer, format, arguments);
  if (written < 0) buffer[0] = '\0';
}

void printWarning(const char* format, ...) {
  char buffer[kDiagnosticBufferSize];
  va_list arguments;
  va_start(arguments, format);
  formatDiagnostic(buffer, format, arguments);
  va_end(arguments);
  std::fputs(buffer, stdout);
  std::fflush(stdout);
}

void printInformation(const char* format, ...) {
  char buffer[kDiagnosticBufferSize];
  va_list arguments;
  va_start(arguments, format);
  formatDiagnostic(buffer, format, arguments);
  va_end(arguments);
  std::fputs(buffer, stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void printFatal(const char* format, ...) {
  char buffer[kDiagnosticBufferSize];
  va_list arguments;
  va_start(arguments, format);
  formatDiagnostic(buffer, format, arguments);
  va_end(arguments);
  std::fputs(buffer, stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
  std::exit(1);
}

} // namespace quillmere
