// SPDX-License-Identifier: GPL-3.0-or-later
// The recording scenario: a 4K MJPEG camera at 30 fps shown in a 1080p view, first live only, then
// recorded with sound from a PulseAudio server of the benchmark's own, run against a real VideoWidget in
// a process of its own.
#pragma once

// Name of the scenario on the command line (--run NAME, --only NAME).
constexpr const char* kRecordingScenario = "recording";

// Runs the scenario (--frames N: seconds of recording, 60 by default) and prints its figures as
// "figure KEY VALUE" lines: painted frame rates live and while recording, recorded pictures against
// painted frames, the process's CPU live and while recording, the sound's drift against the camera's
// clock over the run, and the file's size per minute. Returns the exit code.
int runRecording(int argc, char** argv, int seconds);
