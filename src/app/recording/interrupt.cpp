#include "app/recording/interrupt.h"

#include <csignal>

namespace quillmere {

namespace {

volatile std::sig_atomic_t signalArrived = 0; // the signal's number; 0: none

extern "C" void onSignal(int number) {
  signalArrived = number;
  std::signal(number, SIG_DFL); // the next one ends the program
}

} // namespace

void catchInterrupt() {
  std::signal(SIGINT, onSignal);
  std::signal(SIGTERM, onSignal);
}

bool interruptRequested() { return signalArrived != 0; }

int interruptExitStatus() { return 128 + int(signalArrived); }

} // namespace quillmere
