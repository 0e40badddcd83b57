// The system's three diagnostic printers: warning, information and fatal.
// Each formats its message into a bounded 200-byte buffer (at most 199
// characters survive), so no message can overrun, however long its arguments.
#pragma once

#include <cstdarg>

namespace quillmere {

constexpr int kDiagnosticBufferSize = 200; // bytes, terminating zero included

// Writes the message unchanged to standard error and goes on. Messages carry
// their own trailing "\n" where they have one.
void printWarning(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Writes the message followed by a newline to standard error and goes on.
void printInformation(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Writes the message followed by a newline to standard error and ends the
// process with exit status 1: a failure must never look like success.
[[noreturn]] void printFatal(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Formats into `buffer` exactly as the printers do (truncating to 199
// characters); exposed so callers and tests can see what would be printed.
void formatDiagnostic(char (&buffer)[kDiagnosticBufferSize], const char* format, va_list arguments);

} // namespace quillmere
