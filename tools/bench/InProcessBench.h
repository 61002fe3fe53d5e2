#pragma once

// The benchmarks that run inside the bench process, offscreen: page switching, the hex grid's
// keystroke and one simulated-reader call. Each prints its figures beside the floor it is
// compared with. Needs a QApplication.
void RunPageSwitchBench(int runs);
void RunGridKeystrokeBench(int runs);
void RunSimulatedReadBench(int runs);
