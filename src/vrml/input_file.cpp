#include "vrml/input_file.h"

#include "diagnostics/diagnostics.h"

#include <sys/stat.h>

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace quillmere {

namespace {

constexpr char kEofChar = '\xFF'; // what get() delivers at end of file
constexpr const char* kValidHeader = "#VRML V1.0 ascii";
// Kinds of token, as the message about an over-long one names them.
constexpr const char* kQuotedString = "Quoted string";
constexpr const char* kWord = "Word";
constexpr const char* kNumber = "Number";

// Character classes over ASCII only (the C locale). Bytes of 0x80 and above
// are neither white space nor identifier characters.
bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isIdentChar(char c) { return isLetter(c) || isDigit(c) || c == '_'; }
bool isIdentStartChar(char c) { return isLetter(c) || c == '_'; }

// Bytes of the file quoted in a message (a character, a name) may be control
// bytes: a NUL would cut the message short, an escape byte would drive the
// terminal. They are written as C escapes ('\0', '\n', '\x1b'), as are bytes
// of 0x80 and above; printable ASCII stays as it is.
void escapeUnprintable(const char* text, int length, char* out) {
  int used = 0;
  for (int i = 0; i < length; ++i) {
    auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x20 && byte < 0x7F) {
      out[used++] = static_cast<char>(byte);
      continue;
    }
    const char* named = byte == 0 ? "\\0" : byte == '\n' ? "\\n" : byte == '\t' ? "\\t" : byte == '\r' ? "\\r" : nullptr;
    if (named) {
      out[used++] = named[0];
      out[used++] = named[1];
    } else {
      used += std::snprintf(out + used, 5, "\\x%02x", byte);
    }
  }
  out[used] = '\0';
}

} // namespace

QvInputFile::QvInputFile() : buffer_(new unsigned char[kBufferSize]) { setFilePointer(stdin); }

QvInputFile::~QvInputFile() { delete[] buffer_; }

void QvInputFile::setFilePointer(std::FILE* file) {
  file_ = file;
  lineNum_ = 1;
  version_ = 1.0f;
  readHeader_ = false;
  headerOk_ = true;
  backBuf_.makeEmpty();
  backBufIndex_ = -1;
  nesting_ = 0;
  bufferPos_ = bufferLen_ = 0;
  drained_ = atEnd_ = false;
  numPushed_ = 0;
}

bool QvInputFile::fillBuffer() {
  if (bufferPos_ < bufferLen_) return true;
  if (drained_ || !file_) return false;
  bufferLen_ = static_cast<int>(std::fread(buffer_, 1, kBufferSize, file_));
  bufferPos_ = 0;
  if (bufferLen_ == 0) {
    drained_ = true;
    // Not the end of the file but a failure (a directory, a device error):
    // say so, instead of letting it pass for an end of file.
    if (std::ferror(file_)) postReadError(this, "Cannot read the file: %s", std::strerror(errno));
  }
  return bufferLen_ > 0;
}

bool QvInputFile::streamGet(char& c) {
  if (numPushed_ > 0) {
    c = pushed_[--numPushed_];
    return true;
  }
  if (atEnd_ || !fillBuffer()) {
    atEnd_ = true;
    c = kEofChar;
    return false;
  }
  unsigned char byte = buffer_[bufferPos_++];
  // Lines may end in LF, CR LF or (classic Mac files) a lone CR: all three
  // reach the reader as one line feed, so lines are counted alike.
  if (byte == '\r') {
    if (fillBuffer() && buffer_[bufferPos_] == '\n') ++bufferPos_;
    byte = '\n';
  }
  c = static_cast<char>(byte);
  return true;
}

void QvInputFile::streamPutBack(char c) {
  if (numPushed_ < kMaxPushed) pushed_[numPushed_++] = c;
  atEnd_ = false; // like ungetc, putting back clears the end-of-file indicator
}

bool QvInputFile::checkHeader() {
  readHeader_ = true; // set first: the check must not re-enter itself
  // A UTF-8 byte-order mark, which some editors write first, is no part of
  // the header line. The first fill holds the whole file or 64 KB of it.
  if (numPushed_ == 0 && fillBuffer() && bufferLen_ - bufferPos_ >= 3 && buffer_[bufferPos_] == 0xEF &&
      buffer_[bufferPos_ + 1] == 0xBB && buffer_[bufferPos_ + 2] == 0xBF)
    bufferPos_ += 3;
  char c;
  bool gotOne = streamGet(c);
  if (!gotOne) {
    // Nothing at all (unless the read failed, which was reported as such).
    if (!file_ || !std::ferror(file_)) postReadError(this, "File is empty");
    headerOk_ = false;
    return false;
  }
  bool ok = c == '#';
  if (!ok) {
    streamPutBack(c);
  } else {
    // Keep at most kMaxHeaderLength characters but consume the whole line:
    // a longer line cannot be the valid header, and must not overrun `line`.
    char line[kMaxHeaderLength + 1];
    int length = 0;
    line[length++] = '#';
    while (streamGet(c) && c != '\n')
      if (length < kMaxHeaderLength) line[length++] = c;
    line[length] = '\0';
    if (c == '\n') ++lineNum_;
    // Compared over the line's full length: a NUL byte in the line must not
    // end the comparison early and let trailing bytes pass unseen.
    bool exact = length == static_cast<int>(std::strlen(kValidHeader)) && std::memcmp(line, kValidHeader, length) == 0;
    version_ = exact ? 1.0f : 0.0f;
    ok = version_ != 0.0f;
  }
  if (!ok) {
    postReadError(this, "File does not have a valid header string");
    headerOk_ = false;
  }
  return ok;
}

bool QvInputFile::getSlow(char& c) {
  if (backBufIndex_ >= 0) {
    c = backBuf_.getString()[backBufIndex_++];
    if (c != '\0') return true;
    backBuf_.makeEmpty();
    backBufIndex_ = -1;
  }
  if (!readHeader_ && !checkHeader()) {
    c = kEofChar;
    return false;
  }
  return streamGet(c);
}

bool QvInputFile::read(char& c) {
  c = kEofChar; // what a caller may put back after a failure: nothing
  return skipWhiteSpace() && get(c);
}

// Every token grows through here, so a file cannot make the reader allocate
// more than the limit for one token, however long the token runs.
inline bool QvInputFile::appendToToken(QvString& token, char c, const char* kind, int startLine) {
  if (token.getLength() >= maxTokenLength_) {
    reportLongToken(kind, startLine);
    return false;
  }
  token.append(c);
  return true;
}

void QvInputFile::reportLongToken(const char* kind, int startLine) {
  postReadError(this, "%s starting at line %d is longer than %d bytes", kind, startLine, maxTokenLength_);
}

void QvInputFile::putBack(char c) {
  if (c == kEofChar) return;
  if (backBufIndex_ > 0)
    --backBufIndex_;
  else
    streamPutBack(c);
}

void QvInputFile::noteSkippedNode(const char* name) {
  if (quietNames_.count(std::string("node ") + name)) return;
  ++skippedNodes_;
  if (warnedNames_.insert(std::string("node ") + name).second)
    printWarning("%s:%d: unknown node \"%s\" skipped\n", fileName_.c_str(), lineNum_, name);
}

void QvInputFile::noteSkippedField(const char* name) {
  if (quietNames_.count(std::string("field ") + name)) return;
  ++skippedFields_;
  if (warnedNames_.insert(std::string("field ") + name).second)
    printWarning("%s:%d: unknown field \"%s\" skipped with its value\n", fileName_.c_str(), lineNum_, name);
}

bool QvInputFile::skipToClosingBrace(std::string* text) {
  int depth = 0;
  char c;
  while (get(c)) {
    if (c == '\n') ++lineNum_;
    if (c == '#') { // a comment, to the end of its line
      if (text) *text += ' ';
      while (get(c) && c != '\n') {}
      if (c == '\n') ++lineNum_;
      if (text) *text += '\n';
      continue;
    }
    if (c == '"') { // a quoted string, backslash escapes included
      if (text) *text += c;
      while (get(c) && c != '"') {
        if (c == '\n') ++lineNum_;
        if (text) *text += c;
        if (c == '\\' && get(c)) {
          if (c == '\n') ++lineNum_;
          if (text) *text += c;
        }
      }
      if (text) *text += '"';
      continue;
    }
    if (c == '{') ++depth;
    if (c == '}' && depth-- == 0) {
      putBack(c);
      return true;
    }
    if (text) *text += c;
  }
  return false;
}

void QvInputFile::skipFieldValue(bool (*isFieldName)(const void* context, const char* word), const void* context) {
  int depth = 0; // brackets open
  for (;;) {
    char c;
    if (!read(c)) return;
    if (c == '[') {
      ++depth;
      continue;
    }
    if (c == ']') {
      if (depth > 0) --depth;
      continue;
    }
    if (c == '}' || c == '{') {
      putBack(c);
      return;
    }
    if (c == '"') {
      putBack(c);
      QvString skipped;
      if (!read(skipped)) return;
      continue;
    }
    if (depth == 0 && isIdentStartChar(c)) {
      putBack(c);
      QvName word;
      if (!read(word, true)) return;
      // A word that names a field, or starts a node, ends the value.
      char next = 0;
      const bool startsNode = read(next) && next == '{';
      putBack(next);
      putBack(' '); // what parted the word from what follows it
      const std::string name = word.getString();
      if (startsNode || name == "DEF" || name == "USE" || isFieldName(context, name.c_str())) {
        putBack(word.getString());
        return;
      }
      continue;
    }
    if (depth == 0 && c == ',') continue;
    // Numbers, signs and anything else inside or outside brackets.
    while (get(c) && !isSpace(c) && c != ',' && c != ']' && c != '[' && c != '}' && c != '{' && c != '"' &&
           c != '#') {
    }
    putBack(c);
  }
}

void QvInputFile::putBack(const char* word) {
  backBuf_ = word;
  backBufIndex_ = 0;
}

bool QvInputFile::eof() const { return atEnd_ && numPushed_ == 0 && backBufIndex_ < 0; }

void QvInputFile::getLocationString(QvString& s) const {
  char text[64];
  std::snprintf(text, sizeof text, "\tOccurred at line %3d", lineNum_);
  s = text;
  if (!fileName_.empty()) {
    s += " of ";
    s += fileName_.c_str();
  }
}

bool QvInputFile::skipWhiteSpace(bool reportOpenComment) {
  if (!readHeader_ && !checkHeader()) return false;
  char c;
  for (;;) {
    if (!get(c)) return true;
    while (isSpace(c)) {
      if (c == '\n') ++lineNum_;
      if (!get(c)) return true;
    }
    if (c != '#') {
      putBack(c);
      return true;
    }
    bool ended = false;
    while (get(c)) {
      if (c == '\n') {
        ended = true;
        break;
      }
    }
    if (ended)
      ++lineNum_;
    else if (reportOpenComment)
      postReadError(this, "EOF reached before end of comment");
  }
}

bool QvInputFile::hasMoreContent() {
  char c;
  if (!skipWhiteSpace(false) || !get(c)) return false;
  putBack(c);
  return true;
}

bool QvInputFile::read(QvString& s) {
  if (!skipWhiteSpace()) return false;
  s.makeEmpty(false);
  int startLine = lineNum_;
  char c;
  if (!get(c)) return false;
  if (c != '"') {
    // An unquoted word ends at white space; braces and commas belong to it.
    putBack(c);
    while (get(c)) {
      if (isSpace(c)) {
        putBack(c);
        break;
      }
      if (!appendToToken(s, c, kWord, startLine)) return false;
    }
    return true;
  }
  // A quoted string ends at the closing quote; end of file before it is an
  // error, reported with the line the string opened on (it may be far back).
  // Only \" is an escape; a backslash before anything else stays, and the
  // next character is read again as an ordinary one.
  for (;;) {
    if (!get(c)) {
      postReadError(this, "EOF reached before the end of a string that starts at line %d", startLine);
      return false;
    }
    if (c == '"') return true;
    if (c == '\\') {
      char next;
      bool more = get(next);
      if (more && next == '"') {
        if (!appendToToken(s, '"', kQuotedString, startLine)) return false;
        continue;
      }
      if (!appendToToken(s, '\\', kQuotedString, startLine)) return false;
      putBack(next);
      continue;
    }
    if (c == '\n') ++lineNum_;
    if (!appendToToken(s, c, kQuotedString, startLine)) return false;
  }
}

bool QvInputFile::read(QvName& n, bool validIdent) {
  if (!skipWhiteSpace()) return false;
  if (!validIdent) {
    QvString word;
    if (!read(word)) return false;
    n = QvName(word.getString());
    return true;
  }
  char text[kMaxIdentifierLength + 1];
  int length = 0;
  char c;
  if (get(c)) {
    if (isIdentStartChar(c)) {
      text[length++] = c;
      while (get(c) && isIdentChar(c))
        if (length < kMaxIdentifierLength) text[length++] = c;
    }
    putBack(c);
  }
  text[length] = '\0';
  n = QvName(text);
  return true;
}

bool QvInputFile::readDigitRun(QvString& token, bool hex, bool required) {
  char c;
  int count = 0;
  // The room left is counted in a local: every stored character may alias
  // the members, so a limit read from them would be reloaded per digit.
  int room = maxTokenLength_ - token.getLength();
  while (get(c) && (hex ? isHexDigit(c) : isDigit(c))) {
    if (room-- <= 0) {
      reportLongToken(kNumber, lineNum_);
      return false;
    }
    token.append(c);
    ++count;
  }
  putBack(c);
  return count > 0 || !required;
}

// Collects an integer token: optional sign, then 0x and hexadecimal digits,
// or 0 and decimal digits, or decimal digits. Only a lowercase x makes a
// hexadecimal number; 0X1F is the token 0 followed by X1F.
bool QvInputFile::readNumberToken(QvString& token, bool allowSign) {
  char c;
  if (!get(c)) return false;
  if (allowSign && (c == '-' || c == '+')) {
    token.append(c);
    if (!get(c)) return false;
  }
  if (c != '0') {
    putBack(c);
    return readDigitRun(token, false, true);
  }
  token.append(c);
  if (!get(c)) return true;
  if (c == 'x') {
    token.append(c); // sign, 0 and x: within any sensible limit
    return readDigitRun(token, true, true);
  }
  putBack(c);
  return readDigitRun(token, false, false);
}

// Number tokens are collected in full, up to the token limit, into a string
// that grows as needed: a token of more than 31 characters is read and
// converted like any other (never truncated, never overrunning a buffer).
// Conversion is base 0 as strtol: a leading 0 means octal, so 08 reads as 0.
// The result saturates at the limits of 32 bits, as strtol does on a
// platform with a 32-bit long.
bool QvInputFile::read(std::int64_t& l) {
  QvString token;
  if (!skipWhiteSpace() || !readNumberToken(token, true)) return false;
  l = std::strtoll(token.getString(), nullptr, 0); // saturates at the 64-bit limits
  return true;
}

bool QvInputFile::read(std::int32_t& l) {
  std::int64_t value;
  if (!read(value)) return false;
  if (value > INT32_MAX) value = INT32_MAX;
  if (value < INT32_MIN) value = INT32_MIN;
  l = static_cast<std::int32_t>(value);
  return true;
}

bool QvInputFile::read(short& s) {
  std::int32_t value;
  if (!read(value)) return false;
  s = static_cast<short>(static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) & 0xFFFFu));
  return true;
}

bool QvInputFile::read(std::uint32_t& u) {
  QvString token;
  if (!skipWhiteSpace() || !readNumberToken(token, false)) return false;
  unsigned long long value = std::strtoull(token.getString(), nullptr, 0);
  u = value > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(value);
  return true;
}

bool QvInputFile::readRealToken(QvString& token) {
  char c;
  int digits = 0;
  get(c); // at end of file c is 0xFF, which fits nothing below and is never put back
  if (c == '-' || c == '+') {
    token.append(c);
    get(c);
  }
  int room = maxTokenLength_ - token.getLength(); // a local, as in readDigitRun
  auto take = [&] {
    if (room-- <= 0) {
      reportLongToken(kNumber, lineNum_);
      return false;
    }
    token.append(c);
    return true;
  };
  for (; isDigit(c); get(c), ++digits)
    if (!take()) return false;
  if (c == '.') {
    if (!take()) return false;
    for (get(c); isDigit(c); get(c), ++digits)
      if (!take()) return false;
  }
  if (digits == 0) {
    putBack(c);
    return false;
  }
  if (c == 'e' || c == 'E') {
    if (!take()) return false;
    get(c);
    if (c == '-' || c == '+') {
      if (!take()) return false;
      get(c);
    }
    int exponentDigits = 0;
    for (; isDigit(c); get(c), ++exponentDigits)
      if (!take()) return false;
    if (exponentDigits == 0) {
      putBack(c);
      return false;
    }
  }
  putBack(c);
  return true;
}

bool QvInputFile::read(float& f) {
  QvString token;
  if (!skipWhiteSpace() || !readRealToken(token)) return false;
  double value = std::strtod(token.getString(), nullptr);
  // Beyond the float range the value becomes an infinity, as converting
  // atof's result would on IEEE hardware; done explicitly to stay defined.
  if (value > FLT_MAX)
    f = std::numeric_limits<float>::infinity();
  else if (value < -FLT_MAX)
    f = -std::numeric_limits<float>::infinity();
  else
    f = static_cast<float>(value);
  return true;
}

QvNode* QvInputFile::findReference(const QvName& name) const {
  void* node;
  refDict_.find(name.key(), node);
  return static_cast<QvNode*>(node);
}

long long QvInputFile::remainingBytes() const {
  if (!file_) return -1;
  int descriptor = fileno(file_);
  struct stat status;
  if (descriptor < 0 || fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) return -1;
  long position = std::ftell(file_);
  if (position < 0) return -1;
  long long remaining = static_cast<long long>(status.st_size) - position;
  remaining += bufferLen_ - bufferPos_ + numPushed_;
  if (backBufIndex_ >= 0) remaining += backBuf_.getLength() - backBufIndex_;
  return remaining < 0 ? 0 : remaining;
}

bool QvInputFile::enterNode() {
  if (!canPlaceSubtree(1)) return false;
  ++nesting_;
  return true;
}

bool QvInputFile::canPlaceSubtree(int height) {
  if (nesting_ + height <= kMaxNestingDepth) return true;
  postReadError(this, "Nodes nested more than %d deep", kMaxNestingDepth);
  return false;
}

void QvInputFile::postReadError(QvInputFile* in, const char* format, ...) {
  // Static, not on the heap: the report of a failed allocation must not need one.
  static char message[10001];         // at most 10000 characters of message
  static char shown[4 * 10000 + 1];   // each byte escaped takes at most four
  va_list arguments;
  va_start(arguments, format);
  // The length, not the first NUL, ends the message: a NUL may be one of its characters.
  int length = std::vsnprintf(message, sizeof message, format, arguments);
  va_end(arguments);
  if (length < 0) length = 0;
  if (length > static_cast<int>(sizeof message) - 1) length = static_cast<int>(sizeof message) - 1;
  escapeUnprintable(message, length, shown);
  QvString location;
  if (in) in->getLocationString(location);
  std::fprintf(stderr, "VRML read error: %s\n%s\n", shown, location.getString());
}

} // namespace quillmere
