#include "InProcessBench.h"

#include "app/CHalvidView.h"
#include "app/CMainFrame.h"
#include "pages/CCardPage.h"
#include "reader/ReaderApi.h"
#include "reader/ReaderLibrary.h"
#include "reader/ReaderWait.h"
#include "reader/RuntimeState.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>

#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <type_traits>
#include <vector>

namespace {

// What one operation did at the reader: its calls, how many of them ran under the wait cursor,
// the pauses the cards require (counted, not slept) and the paints the window made.
struct OperationCount {
    int calls = 0;
    int callsUnderWaitCursor = 0;
    long long waits_ms = 0;
    int paints = 0;
    int logPanePaints = 0;
    long long paint_ns = 0; // in the event loop after each click: the window showing the result
};
OperationCount counted;

// Each bound entry is replaced by a thunk of the same signature that counts the call and looks
// at the cursor the operator sees while the reader works.
template <ReaderFunction F,
          class Signature = std::remove_cvref_t<decltype(ReaderApiTable{}.*ReaderFunctionTraits<F>::member)>>
struct CountedEntry;

template <ReaderFunction F, class... Params>
struct CountedEntry<F, int32_t(ZENTRAVA_CALL *)(Params...)> {
    static inline int32_t(ZENTRAVA_CALL *original)(Params...) = nullptr;

    static int32_t ZENTRAVA_CALL call(Params... params)
    {
        ++counted.calls;
        const QCursor *cursor = QGuiApplication::overrideCursor();
        if (cursor != nullptr && cursor->shape() == Qt::WaitCursor)
            ++counted.callsUnderWaitCursor;
        return original(params...);
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

void countEveryEntry()
{
#define ZENTRAVA_COUNT_ENTRY(ordinal, name, presence, params, args, buffers) CountedEntry<ReaderFunction::name>::install();
#define ZENTRAVA_COUNT_PLACEHOLDER(ordinal, presence)
    ZENTRAVA_READER_FUNCTIONS(ZENTRAVA_COUNT_ENTRY, ZENTRAVA_COUNT_PLACEHOLDER)
#undef ZENTRAVA_COUNT_ENTRY
#undef ZENTRAVA_COUNT_PLACEHOLDER
}

// Counts the paint events of every widget, and those of the log pane apart.
class PaintCounter : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            ++counted.paints;
            if (watched->parent() != nullptr && watched->parent()->objectName() == QLatin1String("processView"))
                ++counted.logPanePaints;
        }
        return false;
    }
};

// The simulated reader's own count of the reader time its calls took with real timing.
int64_t modelledNanoseconds()
{
    void *library = dlopen(qPrintable(ReaderLibrary::defaultPath()), RTLD_NOW | RTLD_NOLOAD);
    const auto count = library ? reinterpret_cast<int64_t (*)()>(dlsym(library, "ZentravaSim_ModelledNanoseconds"))
                               : nullptr;
    const int64_t value = count ? count() : -1;
    if (library)
        dlclose(library);
    return value;
}

// The scenario the operations run on: the built-in cards, real timing at `baud`, nothing
// written back; made with the operator's tool.
bool useRealTimingAt(const QString &scenario, int baud)
{
    const QString tool = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("zentrava-sim"));
    const QStringList commands[] = {{QStringLiteral("init"), QStringLiteral("--force")},
                                    {QStringLiteral("timing"), QStringLiteral("real")},
                                    {QStringLiteral("baud"), QString::number(baud)},
                                    {QStringLiteral("writeback"), QStringLiteral("off")}};
    for (const QStringList &command : commands) {
        QProcess process;
        process.start(tool, QStringList{QStringLiteral("--scenario"), scenario} + command);
        if (!process.waitForFinished(10000) || process.exitCode() != 0)
            return false;
    }
    qputenv("ZENTRAVA_SCENARIO", scenario.toLocal8Bit());
    ReaderApi.rf_close_com();
    return ReaderApi.rf_init_com(1, baud) == 0;
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
    QElapsedTimer painting;
    painting.start();
    QApplication::processEvents();
    counted.paint_ns += painting.nsecsElapsed();
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

void RunWholeOperationBench(int runs, int longRunsAtLowRate)
{
    ReaderLibrary library;
    if (!library.load(ReaderLibrary::defaultPath()) || modelledNanoseconds() < 0) {
        std::printf("\nwhole operations: %s could not be opened\n", qPrintable(ReaderLibrary::defaultPath()));
        return;
    }
    QTemporaryDir folder;
    const QString scenario = QDir(folder.path()).filePath(QStringLiteral("timed.json"));
    countEveryEntry();
    const ReaderWaitHandler previousWait = SetReaderWaitHandler([](int ms) { counted.waits_ms += ms; });
    PaintCounter paints;
    qApp->installEventFilter(&paints);

    const WholeOperation operations[] = {
        {"AT24C64, whole card", CardKind::At24c64, nullptr, readAt24},
        {"Mifare 4K, every sector", CardKind::MifareStdS70, prepareMifare, readMifare},
        {"ISO 15693, all blocks", CardKind::IcodeSli, nullptr, readIso15693},
    };
    std::printf("\nwhole operations driven by their buttons, the simulated reader with real timing (ms)\n");
    std::printf("(the floor is the reader time the simulator modelled for the same calls; the pauses the\n"
                " cards require are counted, not slept, and left out of both; medians)\n");
    std::printf("%-26s %7s %5s %6s %10s %10s %7s %8s %9s %7s %6s %6s %8s\n", "operation", "baud", "runs", "calls",
                "Vornex", "floor", "ratio", "per call", "CPU", "pauses", "paints", "log", "showing");
    for (const int baud : {115200, 14400}) {
        if (!useRealTimingAt(scenario, baud)) {
            std::printf("whole operations: the simulated reader did not open at %d baud\n", baud);
            break;
        }
        PortOpen = true;
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
            // One run not counted at the first rate: the first paints load fonts and fill caches.
            if (baud == 115200)
                operation.run(frame);
            // At the low rate a long operation takes seconds: fewer runs keep the bench short.
            const bool longOperation = operation.cardType != CardKind::IcodeSli;
            const int count = baud < 115200 && longOperation ? longRunsAtLowRate : runs;
            std::vector<double> totals;
            std::vector<double> floors;
            std::vector<double> cpuTimes;
            std::vector<double> showingTimes;
            OperationCount last;
            bool ok = true;
            for (int run = 0; run < count && ok; ++run) {
                counted = {};
                const int64_t modelledBefore = modelledNanoseconds();
                QElapsedTimer timer;
                const double cpuStart = ThreadCpuMs();
                timer.start();
                ok = operation.run(frame);
                totals.push_back(double(timer.nsecsElapsed()) / 1e6);
                cpuTimes.push_back(ThreadCpuMs() - cpuStart);
                floors.push_back(double(modelledNanoseconds() - modelledBefore) / 1e6);
                showingTimes.push_back(double(counted.paint_ns) / 1e6);
                last = counted;
            }
            if (!ok) {
                std::printf("%-26s a button was missing or disabled\n", operation.label);
                continue;
            }
            const double total = Median(totals);
            const double floor = Median(floors);
            const double aroundEachCall_us = last.calls > 0 ? 1000.0 * (total - floor) / last.calls : 0;
            std::printf("%-26s %7d %5d %6d %10.1f %10.1f %7.3f %5.0f us %9.1f %7lld %6d %6d %8.1f\n", operation.label,
                        baud, count, last.calls, total, floor, total / std::max(floor, 1e-9), aroundEachCall_us,
                        Median(cpuTimes), last.waits_ms, last.paints, last.logPanePaints, Median(showingTimes));
            if (last.callsUnderWaitCursor != last.calls)
                std::printf("%-26s the wait cursor showed during %d of %d calls\n", "", last.callsUnderWaitCursor,
                            last.calls);
            AddTarget(QStringLiteral("%1 at %2 baud (ms)").arg(QLatin1String(operation.label)).arg(baud), total, floor,
                      1.02, "simulator's modelled reader time");
        }
        frame.close();
        ReaderApi.rf_close_com();
        PortOpen = false;
    }
    std::printf("\"per call\" is the program's time around each reader call; \"CPU\" the program thread's CPU time,\n"
                "the simulator's included; \"paints\" the paint events of every widget during one run, \"log\"\n"
                "those of the log pane, \"showing\" the time (ms) the window took to show each click's result\n");
    qApp->removeEventFilter(&paints);
    SetReaderWaitHandler(previousWait);
}
