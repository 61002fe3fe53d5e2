#include "InProcessBench.h"

#include "app/CHalvidView.h"
#include "app/CardPages.h"
#include "base/CardTypes.h"
#include "controls/CHexGrid.h"
#include "pages/CCardPage.h"
#include "reader/ReaderApi.h"
#include "reader/ReaderLibrary.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

double elapsedMs(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// One frame at 60 Hz.
constexpr double FrameBudget_ms = 1000.0 / 60.0;

struct Target {
    QString figure;
    double value;
    double floor;
    double ratio;
    QString floorName;
};
std::vector<Target> &targets()
{
    static std::vector<Target> all;
    return all;
}

} // namespace

double ThreadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

void AddTarget(const QString &figure, double value, double floor, double targetRatio, const char *floorName)
{
    targets().push_back({figure, value, floor, targetRatio, QString::fromUtf8(floorName)});
}

void PrintSummary()
{
    std::printf("\nsummary: figure, floor, ratio (figure / floor), target, met\n");
    for (const Target &target : targets()) {
        const double ratio = target.value / std::max(target.floor, 1e-9);
        const QString verdict = target.ratio <= 0 ? QStringLiteral("(reported)")
                                : ratio <= target.ratio ? QStringLiteral("met")
                                                        : QStringLiteral("NOT met");
        const QString goal = target.ratio <= 0 ? QStringLiteral("-") : QString::number(target.ratio, 'f', 2);
        std::printf("%-48s %10.1f %10.1f %7.3f %5s  %-10s (floor: %s)\n", qPrintable(target.figure), target.value,
                    target.floor, ratio, qPrintable(goal), qPrintable(verdict), qPrintable(target.floorName));
    }
}

void RunPageSwitchBench(int runs)
{
    CHalvidView view;
    view.resize(1280, 760);
    view.show();
    QApplication::processEvents();
    std::printf("\npage switch: menu command to the new page painted, median of %d runs (ms)\n", runs);
    std::printf("%-22s %10s %12s %10s\n", "card type", "time", "of a frame", "CPU");
    double worst = 0;
    QString worstName;
    for (CardKind cardType : TableCardKinds) {
        if (!HasCardPage(cardType))
            continue;
        std::vector<double> times;
        std::vector<double> cpuTimes;
        for (int run = 0; run < runs; ++run) {
            // From another page, as the operator switches.
            view.ShowPage(cardType == CardKind::MifareStdS50 ? CardKind::MifareUltraLight : CardKind::MifareStdS50);
            QApplication::processEvents();
            QElapsedTimer timer;
            const double cpuStart = ThreadCpuMs();
            timer.start();
            view.ShowPage(cardType);
            view.viewport()->repaint();
            if (view.page() != nullptr)
                view.page()->repaint();
            times.push_back(elapsedMs(timer));
            cpuTimes.push_back(ThreadCpuMs() - cpuStart);
        }
        const double time = Median(times);
        std::printf("%-22s %10.2f %11.0f%% %10.2f\n", qPrintable(CardName(cardType)), time, 100 * time / FrameBudget_ms,
                    Median(cpuTimes));
        if (time > worst) {
            worst = time;
            worstName = CardName(cardType);
        }
    }
    std::printf("slowest: %s, %.2f ms against the %.1f ms of one frame at 60 Hz\n", qPrintable(worstName), worst,
                FrameBudget_ms);
    AddTarget(QStringLiteral("page switch, slowest: %1 (ms)").arg(worstName), worst, FrameBudget_ms, 1.0,
              "one frame at 60 Hz");
}

void RunGridKeystrokeBench(int runs)
{
    const auto keystrokes = [runs](int bytes) {
        CHexGrid grid;
        grid.SetGeometry(16, 16);
        grid.SetData(QByteArray(bytes, '\x5A'));
        // One page of 16 rows of 16 cells on screen, as the pages show it.
        grid.resize(grid.sizeHint());
        grid.show();
        grid.setFocus();
        QApplication::processEvents();
        std::vector<double> times;
        for (int run = 0; run < runs; ++run) {
            grid.setCaretPosition((3 * run) % (3 * 256));
            QKeyEvent press(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
            QElapsedTimer timer;
            timer.start();
            QApplication::sendEvent(&grid, &press);
            grid.repaint();
            times.push_back(elapsedMs(timer));
        }
        return Median(times);
    };
    const double small = keystrokes(256);
    const double large = keystrokes(8192);
    std::printf("\nhex grid: keystroke to repaint, median of %d keystrokes (ms)\n", runs);
    std::printf("%-30s %10.3f\n%-30s %10.3f\nratio %.2f (8 KB against 256 bytes)\n", "256-byte tag", small,
                "8 KB image", large, large / std::max(small, 1e-9));
}

namespace {

// The floor of the simulated read: a plain call copying 16 bytes, kept out of line.
[[gnu::noinline]] int32_t copySixteen(uint8_t *to, const uint8_t *from)
{
    std::memcpy(to, from, 16);
    return 0;
}

} // namespace

void RunSimulatedReadBench(int runs)
{
    ReaderLibrary library;
    if (!library.load(ReaderLibrary::defaultPath()) || ReaderApi.rf_init_com(1, 14400) != 0) {
        std::printf("\nsimulated reader: %s could not be opened\n", qPrintable(ReaderLibrary::defaultPath()));
        return;
    }
    std::array<uint8_t, 1024> buffer{};
    uint8_t length = 0;
    uint8_t size = 0;
    const std::array<uint8_t, 6> key = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    const bool selected = ReaderApi.rf_request(0, 0x52, buffer.data()) == 0
        && ReaderApi.rf_anticoll(0, 4, buffer.data(), &length) == 0
        && ReaderApi.rf_select(0, buffer.data(), 4, &size) == 0
        && ReaderApi.rf_M1_authentication2(0, 0x60, 4, key.data()) == 0;
    if (!selected) {
        std::printf("\nsimulated reader: the default 4K card could not be selected\n");
        ReaderApi.rf_close_com();
        return;
    }
    std::vector<double> reads;
    std::vector<double> copies;
    const std::array<uint8_t, 16> source{};
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        ReaderApi.rf_M1_read(0, 5, buffer.data(), &length);
        reads.push_back(double(timer.nsecsElapsed()) / 1e3);
        timer.restart();
        copySixteen(buffer.data(), source.data());
        copies.push_back(double(timer.nsecsElapsed()) / 1e3);
    }
    ReaderApi.rf_close_com();
    std::printf("\nsimulated reader: one Mifare block read, median of %d calls (microseconds)\n", runs);
    std::printf("%-30s %10.2f\n%-30s %10.2f\n", "rf_M1_read", Median(reads), "plain 16-byte copy", Median(copies));
}
