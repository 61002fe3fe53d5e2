#include "InProcessBench.h"

#include "app/CHalvidView.h"
#include "app/CMainFrame.h"
#include "pages/CCardPage.h"
#include "reader/ReaderApi.h"
#include "reader/ReaderLibrary.h"
#include "reader/ReaderWait.h"
#include "reader/RuntimeState.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <type_traits>
#include <vector>

namespace {

// What the library and the required pauses took during one operation.
struct ReaderTime {
    std::chrono::nanoseconds library{0};
    long long waits_ms = 0;
    int calls = 0;
};
ReaderTime readerTime;

// Each bound entry is replaced by a thunk of the same signature that times the library's own
// call: the floor of an operation is the sum of these, nothing of the program around them.
template <ReaderFunction F,
          class Signature = std::remove_cvref_t<decltype(ReaderApiTable{}.*ReaderFunctionTraits<F>::member)>>
struct TimedEntry;

template <ReaderFunction F, class... Params>
struct TimedEntry<F, int32_t(ZENTRAVA_CALL *)(Params...)> {
    static inline int32_t(ZENTRAVA_CALL *original)(Params...) = nullptr;

    static int32_t ZENTRAVA_CALL call(Params... params)
    {
        const auto started = std::chrono::steady_clock::now();
        const int32_t status = original(params...);
        readerTime.library += std::chrono::steady_clock::now() - started;
        ++readerTime.calls;
        return status;
    }
    static void install()
    {
        auto &entry = ReaderApi.*ReaderFunctionTraits<F>::member;
        if (entry != nullptr && entry != &call) {
            original = entry;
            entry = &call;
        }
    }
};

void timeEveryEntry()
{
#define ZENTRAVA_TIME_ENTRY(ordinal, name, presence, params, args, buffers) TimedEntry<ReaderFunction::name>::install();
#define ZENTRAVA_TIME_PLACEHOLDER(ordinal, presence)
    ZENTRAVA_READER_FUNCTIONS(ZENTRAVA_TIME_ENTRY, ZENTRAVA_TIME_PLACEHOLDER)
#undef ZENTRAVA_TIME_ENTRY
#undef ZENTRAVA_TIME_PLACEHOLDER
}

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

template <class T>
T *controlOf(CMainFrame &frame, int id)
{
    QWidget *page = frame.view()->page();
    return page == nullptr ? nullptr : page->findChild<T *>(QStringLiteral("id%1").arg(id));
}

// The operator's hand: a click runs the handler, and the window then paints what it changed.
bool click(CMainFrame &frame, int id)
{
    auto *button = controlOf<QAbstractButton>(frame, id);
    if (button == nullptr || !button->isEnabled())
        return false;
    button->click();
    QApplication::processEvents();
    return true;
}

bool choose(CMainFrame &frame, int id, int index)
{
    auto *list = controlOf<QComboBox>(frame, id);
    if (list == nullptr || index >= list->count())
        return false;
    list->setCurrentIndex(index);
    return true;
}

bool fill(CMainFrame &frame, int id, const QString &text)
{
    auto *field = controlOf<QLineEdit>(frame, id);
    if (field == nullptr)
        return false;
    field->setText(text);
    return true;
}

struct WholeOperation {
    const char *label;
    CardKind cardType;
    std::function<bool(CMainFrame &)> prepare; // once, on the open page
    std::function<bool(CMainFrame &)> run;     // the measured operation
};

// The AT24C64 in the contact slot, read whole: one click, 64 reads of 128 bytes.
bool readAt24(CMainFrame &frame)
{
    return click(frame, 1148);
}

// Every sector of the Mifare 4K: a new request, then the 32 small sectors in the left panel and
// the 8 large ones in the right, each chosen in its list and read with key A.
constexpr int MifareRequest = 1010;
struct MifarePanelIds {
    int sectorList, keyField, readButton, sectors;
};
constexpr MifarePanelIds MifarePanels[] = {{1061, 1004, 1070, 32}, {1062, 1005, 1071, 8}};

bool prepareMifare(CMainFrame &frame)
{
    for (const MifarePanelIds &panel : MifarePanels) {
        if (!fill(frame, panel.keyField, QStringLiteral("ffffffffffff")))
            return false;
    }
    return true;
}

bool readMifare(CMainFrame &frame)
{
    if (!click(frame, MifareRequest))
        return false;
    for (const MifarePanelIds &panel : MifarePanels) {
        for (int sector = 0; sector < panel.sectors; ++sector) {
            if (!choose(frame, panel.sectorList, sector) || !click(frame, panel.readButton))
                return false;
        }
    }
    return true;
}

// The I.CODE SLI: inventory, then the read of all its blocks and their security status.
bool readIso15693(CMainFrame &frame)
{
    return click(frame, 1069) && click(frame, 1066);
}

} // namespace

void RunWholeOperationBench(int runs)
{
    ReaderLibrary library;
    if (!library.load(ReaderLibrary::defaultPath()) || ReaderApi.rf_init_com(1, 14400) != 0) {
        std::printf("\nwhole operations: %s could not be opened\n", qPrintable(ReaderLibrary::defaultPath()));
        return;
    }
    PortOpen = true;
    timeEveryEntry();
    const ReaderWaitHandler previousWait = SetReaderWaitHandler([](int ms) { readerTime.waits_ms += ms; });

    const WholeOperation operations[] = {
        {"AT24C64, whole card", CardKind::At24c64, nullptr, readAt24},
        {"Mifare 4K, every sector", CardKind::MifareStdS70, prepareMifare, readMifare},
        {"ISO 15693, all blocks", CardKind::IcodeSli, nullptr, readIso15693},
    };
    std::printf("\nwhole operation through the simulated reader, median of %d runs (ms)\n", runs);
    std::printf("(the floor is the time inside the library calls plus the pauses the cards require,\n"
                " which are counted, not slept; the program's share is the time around the calls)\n");
    std::printf("%-26s %6s %10s %10s %8s %10s %10s %10s\n", "operation", "calls", "Vornex", "floor", "ratio",
                "library", "per call", "CPU");
    {
        CMainFrame frame;
        frame.showMaximized();
        QApplication::processEvents();
        for (const WholeOperation &operation : operations) {
            CardType = int(operation.cardType);
            frame.SelectCardItem(operation.cardType);
            frame.view()->ShowPage(operation.cardType);
            QApplication::processEvents();
            if (operation.prepare && !operation.prepare(frame)) {
                std::printf("%-26s could not be prepared\n", operation.label);
                continue;
            }
            // One run not counted: the first paints load fonts and fill caches.
            operation.run(frame);
            std::vector<double> totals;
            std::vector<double> floors;
            std::vector<double> libraries;
            std::vector<double> cpuTimes;
            int calls = 0;
            bool ok = true;
            for (int run = 0; run < runs && ok; ++run) {
                readerTime = {};
                QElapsedTimer timer;
                const double cpuStart = threadCpuMs();
                timer.start();
                ok = operation.run(frame);
                const double wall_ms = double(timer.nsecsElapsed()) / 1e6;
                cpuTimes.push_back(threadCpuMs() - cpuStart);
                const double library_ms = double(readerTime.library.count()) / 1e6;
                // The pauses were not slept: the operator would have waited them as well.
                totals.push_back(wall_ms + double(readerTime.waits_ms));
                floors.push_back(library_ms + double(readerTime.waits_ms));
                libraries.push_back(library_ms);
                calls = readerTime.calls;
            }
            if (!ok) {
                std::printf("%-26s a button was missing or disabled\n", operation.label);
                continue;
            }
            const double total = median(totals);
            const double floor = median(floors);
            const double aroundEachCall_us = calls > 0 ? 1000.0 * (total - floor) / calls : 0;
            std::printf("%-26s %6d %10.2f %10.2f %8.2f %10.3f %8.1f us %10.2f\n", operation.label, calls, total, floor,
                        total / std::max(floor, 1e-9), median(libraries), aroundEachCall_us, median(cpuTimes));
        }
        frame.close();
    }
    std::printf("target: ratio at most 1.05; \"per call\" is the program's time around each library call;\n"
                "\"CPU\" is the program thread's CPU time for the operation (waits not included)\n");
    SetReaderWaitHandler(previousWait);
    ReaderApi.rf_close_com();
    PortOpen = false;
}
