#include "app/parameters.h"

#include "diagnostics/diagnostics.h"

#include <cmath>
#include <cstdio>
#include <fstream>

namespace quillmere {

namespace {

// Paths in messages are cut to this many characters so that the field name
// and the newline always fit the 199 characters of a diagnostic.
constexpr int kPathCharacters = 80;

// Formatted extraction into temporaries: a failed read leaves the target as it was.
bool readFloat(std::istream& in, float& target) {
  float value;
  if (!(in >> value)) return false;
  target = value;
  return true;
}

bool readInt(std::istream& in, int& target) {
  int value;
  if (!(in >> value)) return false;
  target = value;
  return true;
}

// Stores the triple only when all three numbers were read.
bool readTriple(std::istream& in, Vector3& target) {
  Vector3 value;
  if (!(in >> value.x >> value.y >> value.z)) return false;
  target = value;
  return true;
}

// The values from the start speed on are optional in the sense that the
// record keeps its defaults, but a user must learn that the file was cut
// short or holds a typo.
bool warnUnreadable(const char* field, const std::string& path) {
  printWarning("Parameter file: could not read %s in %.*s, keeping the defaults from there on\n", field,
               kPathCharacters, path.c_str());
  return true;
}

struct FloatField {
  const char* name;
  float Parameters::*field;
};

struct IntField {
  const char* name;
  int Parameters::*field;
};

} // namespace

bool readParameterFile(Parameters& parameters, const std::string& path) {
  std::ifstream file(path);
  if (!file) {
    printWarning("Could not open parameter file\n");
    return false;
  }

  // Scene file name, start position and flight direction must be there.
  std::string name;
  if (!(file >> name)) {
    printWarning("Parameter file: could not read data file name\n");
    return false;
  }
  parameters.dataFileName = name;
  if (!readTriple(file, parameters.startPosition)) {
    printWarning("Parameter file: could not read start position\n");
    return false;
  }
  Vector3 direction;
  if (!readTriple(file, direction)) {
    printWarning("Paramter file: could not read flight direction\n");
    return false;
  }
  float length = direction.length();
  if (!(length > 0.0f && std::isfinite(length))) {
    printWarning("Parameter file: flightDirection (%g, %g, %g) in %.*s cannot describe a flight\n",
                 double(direction.x), double(direction.y), double(direction.z), kPathCharacters, path.c_str());
    return false;
  }
  parameters.flightDirection = direction;

  // Single values: the first one missing or malformed ends the reading.
  static const FloatField kFloatFields[] = {
      {"startSpeed", &Parameters::startSpeed}, {"startTime", &Parameters::startTime},
      {"timeStep", &Parameters::timeStep},     {"endTime", &Parameters::endTime},
      {"frameRate", &Parameters::frameRate},   {"lodScale", &Parameters::lodScale},
  };
  for (const FloatField& field : kFloatFields) {
    float value;
    if (!readFloat(file, value)) return warnUnreadable(field.name, path);
    if (field.field == &Parameters::startSpeed && !(value >= 0.0f && value < 1.0f)) {
      // No observer can fly at or beyond the speed of light, or backwards.
      printWarning("Parameter file: startSpeed %g in %.*s is not in [0, 1)\n", double(value), kPathCharacters,
                   path.c_str());
      return false;
    }
    parameters.*field.field = value;
  }
  static const IntField kIntFields[] = {
      {"transformNormals", &Parameters::transformNormals},
      {"lightCount", &Parameters::lightCount},
  };
  for (const IntField& field : kIntFields) {
    if (!readInt(file, parameters.*field.field)) return warnUnreadable(field.name, path);
  }

  // Light directions: the first ten are stored, any further ones are read
  // and dropped so that no index runs past the table.
  int requested = parameters.lightCount;
  if (requested > kMaxParameterLights) {
    printWarning("Parameter file: lightCount %d in %.*s is more than %d, the directions after the %dth are dropped\n",
                 requested, kPathCharacters, path.c_str(), kMaxParameterLights, kMaxParameterLights);
    parameters.lightCount = kMaxParameterLights;
  }
  for (int i = 0; i < requested; ++i) {
    Vector3 dropped;
    Vector3& target = i < kMaxParameterLights ? parameters.lightDirections[i] : dropped;
    if (!readTriple(file, target)) {
      char field[32];
      std::snprintf(field, sizeof field, "lightDirections[%d]", i);
      return warnUnreadable(field, path);
    }
  }
  return true;
}

} // namespace quillmere
