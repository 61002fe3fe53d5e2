#pragma once

#include "reader/ReaderLibrary.h"

// The simulated reader beside the tests, loaded as the program loads its reader library, with
// the cards of a scenario laid on it and the port open that the program opens at start-up
// (COM1 at 14400 bits per second). Page tests hold one to run a page end to end.
class SimulatorSession
{
public:
    SimulatorSession() = default;
    // Closes the port when it is open, and frees the library.
    ~SimulatorSession();
    SimulatorSession(const SimulatorSession &) = delete;
    SimulatorSession &operator=(const SimulatorSession &) = delete;

    // Lays the cards of a scenario (JSON text) on the reader, null for the reader's own default
    // field, then loads the library and, unless told not to, opens the port. False, after a test
    // failure, when any step fails.
    bool start(const char *scenario, bool openPort = true);

private:
    ReaderLibrary m_library;
};
