#pragma once

#include "ContactSlot.h"
#include "ReaderDevice.h"
#include "RfField.h"

namespace zentrava {

// The simulated reader as the reader library's commands see it: the device itself, its antenna
// field with the cards lying in it (the contact and SAM slots' processor cards among them), and
// the contact slot's memory card. The session (ReaderSession) keeps it in step with the scenario
// file; each card family's commands work on it.
struct SimulatedReader {
    ReaderDevice device;
    RfField field;
    ContactSlot contact;
};

} // namespace zentrava
