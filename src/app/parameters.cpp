#include "app/parameters.h"

#include "app/file_access.h"
#include "diagnostics/diagnostics.h"

#include <cerrno>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace quillmere {

namespace {

// Paths and values in messages are cut to these many characters so that the
// field name and the newline always fit the 199 characters of a diagnostic.
constexpr int kPathCharacters = 80;
constexpr int kValueCharacters = 40;

// The file's blank-separated words, each with the line it starts on.
class WordReader {
public:
  explicit WordReader(std::istream& in) : in_(in) {}

  // False at the end of the file.
  bool next(std::string& word) {
    word.clear();
    int c;
    while ((c = in_.get()) != EOF && std::isspace(c))
      if (c == '\n') ++line_;
    if (c == EOF) return false;
    wordLine_ = line_;
    do word += char(c);
    while ((c = in_.get()) != EOF && !std::isspace(c));
    if (c == '\n') ++line_;
    return true;
  }
  // The line of the word last read; where a value is missing, the line the file ends after.
  int wordLine() const { return wordLine_; }

private:
  std::istream& in_;
  int line_ = 1;
  int wordLine_ = 1;
};

enum class Outcome { Read, Missing, Bad };

class FieldReader {
public:
  FieldReader(std::istream& in, const std::string& path, std::string* error)
      : words_(in), path_(path), error_(error) {}

  // "FILE:LINE: field: what" as an error, printed and kept for the caller.
  void fail(const char* field, const char* what, int line) const {
    char message[kDiagnosticBufferSize];
    std::snprintf(message, sizeof message, "%.*s:%d: %s: %s", kPathCharacters, path_.c_str(), line, field, what);
    printWarning("%s\n", message);
    if (error_) *error_ = message;
  }
  void failValue(const char* field, const char* what) const {
    char text[96];
    std::snprintf(text, sizeof text, "\"%.*s\" %s", kValueCharacters, word_.c_str(), what);
    fail(field, text, words_.wordLine());
  }
  int line() const { return words_.wordLine(); }
  const std::string& path() const { return path_; }

  Outcome word(const char* field, std::string& out) {
    (void)field;
    if (!words_.next(word_)) return Outcome::Missing;
    out = word_;
    return Outcome::Read;
  }

  // A finite real; anything else is an error naming what was found.
  Outcome real(const char* field, float& out) {
    if (!words_.next(word_)) return Outcome::Missing;
    char* end = nullptr;
    errno = 0;
    float value = std::strtof(word_.c_str(), &end);
    if (end == word_.c_str() || *end != '\0') {
      failValue(field, "is not a number");
      return Outcome::Bad;
    }
    if (!std::isfinite(value) || errno == ERANGE) {
      failValue(field, std::isfinite(value) ? "is out of range" : "is not finite");
      return Outcome::Bad;
    }
    out = value;
    return Outcome::Read;
  }

  Outcome integer(const char* field, int& out) {
    if (!words_.next(word_)) return Outcome::Missing;
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(word_.c_str(), &end, 10);
    if (end == word_.c_str() || *end != '\0' || errno == ERANGE || value < -1000000 || value > 1000000) {
      failValue(field, "is not a whole number");
      return Outcome::Bad;
    }
    out = int(value);
    return Outcome::Read;
  }

  // Stores the triple only when all three numbers were read.
  Outcome triple(const char* field, Vector3& out) {
    Vector3 value;
    for (float* component : {&value.x, &value.y, &value.z}) {
      Outcome outcome = real(field, *component);
      if (outcome != Outcome::Read) return outcome;
    }
    out = value;
    return Outcome::Read;
  }

private:
  WordReader words_;
  std::string path_;
  std::string* error_; // receives the error message; may be null
  std::string word_;   // the word last read
};

// A required value that is not there ends the reading with an error.
bool required(FieldReader& reader, Outcome outcome, const char* field) {
  if (outcome == Outcome::Missing) reader.fail(field, "missing (the file ends here)", reader.line());
  return outcome == Outcome::Read;
}

// The values from the start speed on may be left out, keeping their
// defaults, but a user must learn that the file was cut short.
bool optionalEnd(FieldReader& reader, const char* field) {
  printWarning("%.*s:%d: %s: missing (the file ends here), keeping the defaults from here on\n",
               kPathCharacters, reader.path().c_str(), reader.line(), field);
  return true;
}

struct FloatField {
  const char* name;
  float Parameters::*field;
};

} // namespace

bool readParameterFile(Parameters& parameters, const std::string& path, std::string* error) {
  std::string reason = unreadableReason(path);
  std::ifstream file(path);
  if (!reason.empty() || !file) {
    char message[kDiagnosticBufferSize];
    std::snprintf(message, sizeof message, "Parameter file %.*s: %s", kPathCharacters, path.c_str(),
                  reason.empty() ? "cannot be opened" : reason.c_str());
    printWarning("%s\n", message);
    if (error) *error = message;
    return false;
  }
  FieldReader reader(file, path, error);

  // Scene file name, start position and flight direction must be there.
  std::string name;
  if (!required(reader, reader.word("dataFileName", name), "dataFileName")) return false;
  parameters.dataFileName = name;
  if (!required(reader, reader.triple("startPosition", parameters.startPosition), "startPosition")) return false;
  Vector3 direction;
  if (!required(reader, reader.triple("flightDirection", direction), "flightDirection")) return false;
  const int directionLine = reader.line();
  float length = direction.length();
  if (!(length > 0.0f && std::isfinite(length))) {
    char what[96];
    std::snprintf(what, sizeof what, "(%g, %g, %g) cannot describe a flight", double(direction.x),
                  double(direction.y), double(direction.z));
    reader.fail("flightDirection", what, directionLine);
    return false;
  }
  parameters.flightDirection = direction;

  // Single values: the first one missing keeps it and the rest at their defaults.
  static const FloatField kFloatFields[] = {
      {"startSpeed", &Parameters::startSpeed}, {"startTime", &Parameters::startTime},
      {"timeStep", &Parameters::timeStep},     {"endTime", &Parameters::endTime},
      {"frameRate", &Parameters::frameRate},   {"lodScale", &Parameters::lodScale},
  };
  for (const FloatField& field : kFloatFields) {
    float value = 0;
    Outcome outcome = reader.real(field.name, value);
    if (outcome == Outcome::Missing) return optionalEnd(reader, field.name);
    if (outcome == Outcome::Bad) return false;
    char what[96] = "";
    if (field.field == &Parameters::startSpeed && !(value >= 0.0f && value < 1.0f))
      // No observer can fly at or beyond the speed of light, or backwards.
      std::snprintf(what, sizeof what, "%g is not in [0, 1)", double(value));
    else if (field.field == &Parameters::timeStep && !(value > 0.0f))
      std::snprintf(what, sizeof what, "%g is not above 0 (the flight would stand still or run backwards)",
                    double(value));
    else if (field.field == &Parameters::endTime && value < parameters.startTime)
      std::snprintf(what, sizeof what, "%g is before the start time %g", double(value),
                    double(parameters.startTime));
    else if (field.field == &Parameters::frameRate && !(value > 0.0f))
      std::snprintf(what, sizeof what, "%g is not above 0", double(value));
    if (what[0]) {
      reader.fail(field.name, what, reader.line());
      return false;
    }
    parameters.*field.field = value;
  }
  Outcome outcome = reader.integer("transformNormals", parameters.transformNormals);
  if (outcome == Outcome::Missing) return optionalEnd(reader, "transformNormals");
  if (outcome == Outcome::Bad) return false;
  int requested = 0;
  outcome = reader.integer("lightCount", requested);
  if (outcome == Outcome::Missing) return optionalEnd(reader, "lightCount");
  if (outcome == Outcome::Bad) return false;
  if (requested < 0) {
    reader.fail("lightCount", (std::to_string(requested) + " is negative").c_str(), reader.line());
    return false;
  }
  parameters.lightCount = requested;

  // Light directions: the first ten are stored, any further ones are read
  // and dropped so that no index runs past the table.
  if (requested > kMaxParameterLights) {
    printWarning("%.*s:%d: lightCount: %d is more than %d, the directions after the %dth are dropped\n",
                 kPathCharacters, path.c_str(), reader.line(), requested, kMaxParameterLights, kMaxParameterLights);
    parameters.lightCount = kMaxParameterLights;
  }
  for (int i = 0; i < requested; ++i) {
    Vector3 dropped;
    Vector3& target = i < kMaxParameterLights ? parameters.lightDirections[std::size_t(i)] : dropped;
    char field[32];
    std::snprintf(field, sizeof field, "lightDirections[%d]", i);
    outcome = reader.triple(field, target);
    if (outcome == Outcome::Missing) return optionalEnd(reader, field);
    if (outcome == Outcome::Bad) return false;
  }
  return true;
}

} // namespace quillmere
