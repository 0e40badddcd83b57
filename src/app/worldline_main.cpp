// quillmere-worldline PARAMFILE [--steps N] [--accel A] [--turn W]
//
// Creates the observer of a parameter file, sets its controls once with
// setAcceleration(A, W) (so the speed limits apply), and advances it N times
// (default 20) to the proper times start time + k·time step, printing its
// world line as CSV, one row before the first step and one after each.
// Exit status: 0 on success, 1 when the parameter file cannot be used
// (the reader has said why), 2 for a malformed command line.
#include "app/parameters.h"
#include "relativity/observer.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using namespace quillmere;

constexpr int kUsageStatus = 2;

int usage(const char* problem) {
  std::fprintf(stderr,
               "quillmere-worldline: %s\n"
               "usage: quillmere-worldline PARAMFILE [--steps N] [--accel A] [--turn W]\n"
               "  --steps N  number of proper-time steps, N >= 0 (default 20)\n"
               "  --accel A  forward proper acceleration (default 0)\n"
               "  --turn W   turn rate (default 0)\n",
               problem);
  return kUsageStatus;
}

bool parseSteps(const char* text, long& steps) {
  errno = 0;
  char* end = nullptr;
  long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || errno == ERANGE || value < 0 || value > INT_MAX) return false;
  steps = value;
  return true;
}

bool parseFloat(const char* text, float& result) {
  errno = 0;
  char* end = nullptr;
  float value = std::strtof(text, &end);
  if (end == text || *end != '\0' || errno == ERANGE || !std::isfinite(value)) return false;
  result = value;
  return true;
}

void printRow(const RelObserver& observer) {
  const Vector4d& e = observer.eventPrecise();
  const Vector3& d = observer.flightDirection();
  const Vector3& up = observer.upDirection();
  std::printf("%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g\n", observer.properTimePrecise(), e.x,
              e.y, e.z, e.t, observer.speed(), observer.gamma(), d.x, d.y, d.z, up.x, up.y, up.z);
}

} // namespace

int main(int argc, char** argv) {
  // Command line.
  const char* parameterPath = nullptr;
  long steps = 20;
  float acceleration = 0.0f, turnRate = 0.0f;
  for (int i = 1; i < argc; ++i) {
    const char* argument = argv[i];
    bool isOption = std::strcmp(argument, "--steps") == 0 || std::strcmp(argument, "--accel") == 0 ||
                    std::strcmp(argument, "--turn") == 0;
    if (isOption) {
      if (i + 1 >= argc) return usage((std::string(argument) + " needs a value").c_str());
      const char* value = argv[++i];
      bool ok = std::strcmp(argument, "--steps") == 0   ? parseSteps(value, steps)
                : std::strcmp(argument, "--accel") == 0 ? parseFloat(value, acceleration)
                                                        : parseFloat(value, turnRate);
      if (!ok) return usage((std::string("bad value for ") + argument + ": " + value).c_str());
    } else if (argument[0] == '-' && argument[1] != '\0') {
      return usage((std::string("unknown option ") + argument).c_str());
    } else if (parameterPath == nullptr) {
      parameterPath = argument;
    } else {
      return usage("only one parameter file can be given");
    }
  }
  if (parameterPath == nullptr) return usage("no parameter file given");

  // The observer of the parameter file; the reader reports what is wrong.
  Parameters parameters;
  if (!readParameterFile(parameters, parameterPath)) return 1;
  RelObserver observer(parameters.startPosition.x, parameters.startPosition.y, parameters.startPosition.z,
                       parameters.startTime, parameters.startSpeed, parameters.flightDirection.x,
                       parameters.flightDirection.y, parameters.flightDirection.z);
  observer.setAcceleration(acceleration, turnRate);

  // The world line, sampled at start time + k·time step.
  std::printf("tau,x,y,z,t,beta,gamma,dx,dy,dz,upx,upy,upz\n");
  printRow(observer);
  for (long k = 1; k <= steps; ++k) {
    observer.update(double(parameters.startTime) + double(k) * parameters.timeStep);
    printRow(observer);
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
