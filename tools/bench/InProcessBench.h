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
