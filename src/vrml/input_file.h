// The one input object through which every character of a scene file passes:
// header check, white space and comments with line counting, put-back, the
// lexical items (words, quoted strings, identifiers, integers, reals), the
// DEF table of the file, and read-error reports carrying the current line.
#pragma once

#include "vrml/dict.h"
#include "vrml/name.h"
#include "vrml/string.h"

#include <cstdint>
#include <cstdio>
#include <set>
#include <string>

namespace quillmere {

class QvNode;

class QvInputFile {
public:
  static constexpr int kMaxHeaderLength = 255;   // characters of the header line that are kept
  static constexpr int kMaxIdentifierLength = 255; // later identifier characters are read and dropped
  static constexpr int kMaxNestingDepth = 1000;  // levels of the tree, USEs included; deeper input is refused
  static constexpr int kMaxTokenLength = 1 << 28; // bytes of a string, word or number (256 MB); longer is refused

  QvInputFile();
  ~QvInputFile(); // the stream stays open: whoever opened it closes it
  QvInputFile(const QvInputFile&) = delete;
  QvInputFile& operator=(const QvInputFile&) = delete;

  // Starts reading a new stream from its first line; the header is checked
  // lazily by the first character request.
  void setFilePointer(std::FILE* file);
  // The file's name as the user gave it, for the location line of read
  // errors ("Occurred at line 5 of scene.wrl"); empty: the line alone.
  void setFileName(const char* name) { fileName_ = name ? name : ""; }
  int getLineNum() const { return lineNum_; }
  float getVersion() const { return version_; }
  bool isHeaderOk() const { return headerOk_; }
  // Lowers the token limit, so the refusal can be seen without 256 MB of input.
  void setMaxTokenLength(int length) { maxTokenLength_ = length; }
  // Another stream's text read in its place (a node's body read again):
  // messages count lines from `line` on.
  void setLineNum(int line) { lineNum_ = line; }

  // Lenient reading, as the viewer reads files that exporters wrote: an
  // unknown node is skipped to its closing brace, an unknown field of a
  // known node with its value, and list values may stand without commas.
  // Each skipped name is reported once, with `fileName` and the line.
  void setLenient(const std::string& fileName) {
    lenient_ = true;
    fileName_ = fileName;
  }
  bool isLenient() const { return lenient_; }
  const std::string& fileName() const { return fileName_; }
  // Counts one skipped node or field, and warns the first time `name` is skipped.
  void noteSkippedNode(const char* name);
  void noteSkippedField(const char* name);
  // `what` ("field isA", "node Info") is skipped without a warning or a count.
  void passOverQuietly(const std::string& what) { quietNames_.insert(what); }
  int skippedNodes() const { return skippedNodes_; }
  int skippedFields() const { return skippedFields_; }
  // Names skipped by another reading of this file (a body read again) count here too.
  void addSkipped(int nodes, int fields) {
    skippedNodes_ += nodes;
    skippedFields_ += fields;
  }
  // Raw text up to the brace that closes the node being read, that brace
  // left unread: quoted strings and comments are passed over whole, lines
  // are counted. False at the end of the file. `text`, when given, receives it.
  bool skipToClosingBrace(std::string* text = nullptr);
  // The value of a field of unknown type: bracketed lists, quoted strings,
  // numbers and words, up to the next word that `isFieldName` knows (or that
  // starts a node: a word followed by '{', DEF, USE), a closing brace or
  // the end of the file, which are left unread.
  void skipFieldValue(bool (*isFieldName)(const void* context, const char* word), const void* context);

  // Next raw character; false (c = 0xFF) at end of file or on a bad header.
  // The common case, a plain byte from the buffer, is inline: every
  // character of a file passes here.
  bool get(char& c) {
    if (backBufIndex_ < 0 && numPushed_ == 0 && readHeader_ && bufferPos_ < bufferLen_ &&
        buffer_[bufferPos_] != '\r') {
      c = static_cast<char>(buffer_[bufferPos_++]);
      return true;
    }
    return getSlow(c);
  }
  bool read(char& c);  // next character after white space and comments
  void putBack(char c);           // a 0xFF character stands for end of file and is dropped
  void putBack(const char* word); // handed out again, character by character, before the stream
  bool read(QvString& s);                    // a quoted string or a white-space-delimited word
  bool read(QvName& n, bool validIdent = false); // an identifier, or a word made into a name
  bool read(short& s);          // low 16 bits of a signed integer
  bool read(std::int32_t& l);   // signed integer, base 0 (010 is octal, 0x10 hexadecimal)
  bool read(std::int64_t& l);   // the same in 64 bits, for sizes that must not wrap
  bool read(std::uint32_t& u);  // unsigned integer, base 0, no sign
  bool read(float& f);          // a real: sign, digits, point, digits, exponent
  bool eof() const;
  void getLocationString(QvString& s) const;
  // Fails only when the header check fails. A comment that runs into the end
  // of the file is reported unless `reportOpenComment` is false.
  bool skipWhiteSpace(bool reportOpenComment = true);
  // Whether anything but white space and comments is left; reports nothing.
  bool hasMoreContent();

  // DEF names of this file. A later DEF of the same name replaces the earlier.
  void addReference(const QvName& name, QvNode* node);
  QvNode* findReference(const QvName& name) const;
  int getNumReferences() const { return refDict_.getNumEntries(); }
  // After a failed read the nodes it made are freed; forgetting every DEF keeps
  // the table from pointing at them.
  void forgetReferences() { refDict_.clear(); }

  // Bytes the stream still holds, or -1 when that cannot be known (a pipe).
  long long remainingBytes() const;

  // Depth of nodes being read, so hostile input cannot exhaust the stack.
  bool enterNode();
  void leaveNode() { --nesting_; }
  // Whether a finished subtree `height` levels tall, brought in by USE, may
  // stand at the current position without the tree passing the limit.
  bool canPlaceSubtree(int height);

  // Writes "VRML read error: <message>\n<location>\n" to standard error.
  static void postReadError(QvInputFile* in, const char* format, ...) __attribute__((format(printf, 2, 3)));

private:
  static constexpr int kBufferSize = 1 << 16;
  static constexpr int kMaxPushed = 4; // the readers put back at most one character at a time

  bool getSlow(char& c);
  bool checkHeader();
  bool streamGet(char& c);   // one character of the stream, carriage return before line feed removed
  void streamPutBack(char c);
  bool fillBuffer();
  bool appendToToken(QvString& token, char c, const char* kind, int startLine);
  void reportLongToken(const char* kind, int startLine);
  bool readNumberToken(QvString& token, bool allowSign);
  bool readDigitRun(QvString& token, bool hex, bool required);
  bool readRealToken(QvString& token);

  std::FILE* file_ = nullptr;  // the open scene file (standard input until set)
  int lineNum_ = 1;            // 1-based line being read
  float version_ = 1.0f;       // version named by the header line; 0 when invalid
  bool readHeader_ = false;    // the header check has run
  bool headerOk_ = true;       // the header check has not failed
  QvDict refDict_{251};        // DEF name -> QvNode*
  QvString backBuf_;           // a word that was put back
  int backBufIndex_ = -1;      // next position in backBuf_, -1 when not in use
  int nesting_ = 0;            // nodes currently being read
  int maxTokenLength_ = kMaxTokenLength; // characters a token may hold
  bool lenient_ = false;       // skip what the strict reader refuses (see setLenient)
  std::string fileName_;       // named on the location line and in the lenient reader's warnings; may be empty
  std::set<std::string> warnedNames_; // "node X" / "field X" already reported
  std::set<std::string> quietNames_;  // skipped without a word
  int skippedNodes_ = 0;
  int skippedFields_ = 0;

  // Our own buffering instead of getc: faster, and it lets us drop the
  // carriage return of a CR LF pair and keep put-back independent of the C
  // library's one-character guarantee.
  unsigned char* buffer_;      // kBufferSize bytes
  int bufferPos_ = 0;          // next byte to hand out
  int bufferLen_ = 0;          // bytes in buffer_
  bool drained_ = false;       // the stream has delivered its last byte
  bool atEnd_ = false;         // a character was asked for past the end (the EOF indicator)
  char pushed_[kMaxPushed];    // characters put back onto the stream, last on top
  int numPushed_ = 0;
};

} // namespace quillmere
