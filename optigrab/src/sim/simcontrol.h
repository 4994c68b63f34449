// SPDX-License-Identifier: GPL-3.0-or-later
// The command FIFO of the simulated cameras, so a running program can be driven from a shell.
#pragma once

#include <string>
#include <thread>

namespace optigrab::sim {

class Simulator;

// Makes a FIFO at a path and runs commands written to it, one a line (see optigrab_sim.h):
//     echo "plug Desk_Cam 1234 abcd" > "$OPTIGRAB_SIMULATED_CONTROL"
// Lives between the library's startHotplug and stopHotplug; its own thread reads the FIFO.
class SimControl {
public:
    SimControl(Simulator& simulator, std::string path);
    ~SimControl();  // stops the thread (never blocks on a writer) and removes the FIFO
    SimControl(const SimControl&) = delete;
    SimControl& operator=(const SimControl&) = delete;

    bool start();  // false when the FIFO cannot be made or opened

    // Runs one command line. Returns what is wrong with it, empty when it ran. Public so tests can
    // feed lines.
    std::string execute(const std::string& line);

private:
    void run();
    std::string noSuchCamera(int id) const;

    Simulator& simulator_;
    const std::string path_;
    int fifo_ = -1;         // read end, non-blocking
    int keepOpen_ = -1;     // our own write end: without it, the FIFO reports hang-up after each writer
    int wake_ = -1;         // eventfd that ends the thread
    bool created_ = false;  // we made the FIFO, so we remove it
    std::thread thread_;
};

// text as it may be shown in a log line: backslash, double quote, control characters and bytes
// outside ASCII written as escapes (\\, \", \xNN), so whatever reaches a FIFO or the environment
// cannot move the cursor or garble the terminal.
std::string printable(const std::string& text);

}  // namespace optigrab::sim
