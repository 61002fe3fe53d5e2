#pragma once

// The benchmarks that run inside the bench process, offscreen: page switching, the hex grid's
// keystroke, one simulated-reader call and whole operations. Each prints its figures beside the
// floor it is compared with. Needs a QApplication.
void RunPageSwitchBench(int runs);
void RunGridKeystrokeBench(int runs);
void RunSimulatedReadBench(int runs);
// The three whole operations (AT24C64, Mifare 4K, ISO 15693) driven by their buttons in the
// main frame, against the time inside the library calls plus the pauses the cards require.
void RunWholeOperationBench(int runs);
// One APDU through the PC/SC reader library against SCardTransmit directly, to the same virtual
// card of a private pcscd (the card server serving `scenarioFile`); prints that it was skipped
// when pcscd cannot be started.
class QString;
void RunPcscApduBench(int runs, const QString &scenarioFile);
