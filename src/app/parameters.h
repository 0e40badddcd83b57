// The parameter file that describes a run: the scene file, the observer's
// start state (world units, c = 1), the animation's time control in proper
// time, two render settings and the directions of the scene lights.
#pragma once

#include "relativity/vector.h"

#include <array>
#include <string>

namespace quillmere {

constexpr int kMaxParameterLights = 10; // light directions a parameter file can store

struct Parameters {
  std::string dataFileName;          // scene file path; any length, no blanks
  Vector3 startPosition{0, 0, 0};    // observer start position
  Vector3 flightDirection{0, 0, 1};  // start flight direction, need not be normalised
  float startSpeed = 0.9f;           // β at the start, in [0, 1)
  float startTime = 0.0f;            // start proper time τ0, also the display time at start and reset
  float timeStep = 0.1f;             // proper time per animation frame
  float endTime = 100.0f;            // the animation stops once the time passes this
  float frameRate = 100.0f;          // animation steps per second of the window's playback at 1x
  float lodScale = 1.0f;             // factor on the apparent distance for level-of-detail choices
  int transformNormals = 1;          // nonzero: the vertex transformation also carries normals
  int lightCount = 1;                // meaningful entries of lightDirections, at most 10
  std::array<Vector3, kMaxParameterLights> lightDirections{Vector3(1, 1, 0)}; // the others (0, 0, 0)
};

// Reads the whitespace-separated values of the file at `path` into
// `parameters` in order: scene file name, start position, flight direction,
// start speed, start time, time step, end time, frame rate, LOD scale,
// transformNormals, lightCount and lightCount direction triples.
//
// Returns false with "FILE:LINE: field: what was found" when a value is not a
// number (or not a whole number where one is needed), is not finite, or
// cannot describe a flight (start speed outside [0, 1), zero flight
// direction, time step or frame rate not above 0, end time before the start
// time, negative light count), and when the name, the start position or the
// flight direction is missing; "Parameter file PATH: reason" when the file
// cannot be read. The values read before stay in the record, the offending
// one keeps its default. A file that ends after the flight direction keeps
// the defaults of the values it leaves out and returns true, with a warning
// naming the first. Directions beyond the tenth are read and dropped, with a
// warning, and lightCount is then 10. `error`, when given, receives the
// message of a failure (without its newline).
bool readParameterFile(Parameters& parameters, const std::string& path, std::string* error = nullptr);

} // namespace quillmere
