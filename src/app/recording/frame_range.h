// Runs of part of a flight: how many frames a whole flight has, and flying
// to the first frame of a range without drawing the frames before it.
// Frames are numbered from 1, as recorded frames are named.
#pragma once

#include <string>

namespace quillmere {

class FlightController;
class FrameRecording;
struct CommandLine;
struct Parameters;

// The frames a whole run draws: one per step, the last being the step that
// takes the time past the end time. Counted with the display manager's own
// single-precision time sum, so the count matches a run to the frame; -1
// when the time never passes the end (a step of zero or less).
int flightFrameCount(const Parameters& parameters);

// The flight of `path` (a parameter file, or a scene file flown with the
// default parameters); -1 with the reader's message when the file cannot be read.
int flightFrameCount(const std::string& path);

// Flies the running viewer through frames 1 .. firstFrame − 1 without
// drawing them, so the next step is frame `firstFrame`. False, with a
// message in `error`, when the flight ends before it.
bool stepToFrame(FlightController& viewer, int firstFrame, std::string& error);

// The start of a recorded batch run: flies to --first-frame (with a
// controller), then opens --record's folder or movie for frames of
// width × height at `frameRate` frames per second (or --fps). False, with
// a message on standard error.
bool startFrameRange(FrameRecording& recording, FlightController* controller, const CommandLine& line,
                     float frameRate, int width, int height);

} // namespace quillmere
