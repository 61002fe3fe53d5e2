#pragma once

#include <QString>

#include <algorithm>
#include <vector>

// The median of a run's figures (0 when there are none).
template <class T> T Median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? T{} : n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// This thread's CPU time: what the program itself spent, however busy the machine is.
double ThreadCpuMs();

// The benchmarks that run inside the bench process, offscreen: page switching, the hex grid's
// keystroke, one simulated-reader call and whole operations. Each prints its figures beside the
// floor it is compared with. Needs a QApplication.
void RunPageSwitchBench(int runs);
void RunGridKeystrokeBench(int runs);
void RunSimulatedReadBench(int runs);
// The three whole operations (AT24C64, Mifare 4K, ISO 15693) driven by their buttons in the
// main frame, the simulated reader keeping real time at 115200 and at 14400 baud, against the
// reader time the simulator modelled for the same calls. At 14400 baud the two long ones run
// `longRunsAtLowRate` times.
void RunWholeOperationBench(int runs, int longRunsAtLowRate);

// The closing summary: one line per target, the figure beside its floor. A target ratio of 0
// only reports the ratio.
void AddTarget(const QString &figure, double value, double floor, double targetRatio, const char *floorName);
void PrintSummary();

// The floor program of the start-up benchmark: Vornex's first screen made straight with Qt.
int RunFirstScreenFloor(int argc, char **argv);

// One APDU through the PC/SC reader library against SCardTransmit directly, to the same virtual
// card of a private pcscd (the card server serving `scenarioFile`); prints that it was skipped
// when pcscd cannot be started.
void RunPcscApduBench(int runs, const QString &scenarioFile);
