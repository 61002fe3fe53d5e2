#include "HostileDriver.h"

#include "HostileAnswerPlan.h"
#include "PageHarness.h"

#include "app/CardPages.h"
#include "app/ReaderCallTrace.h"
#include "base/CardTypes.h"
#include "base/ProgramDirectory.h"
#include "controls/CDecEdit.h"
#include "controls/CHexEdit.h"
#include "controls/CHexGrid.h"
#include "pages/CCardPage.h"
#include "consoles/CCpuCardPage.h"
#include "consoles/CIso14443CpuPage.h"
#include "consoles/CSamPage.h"
#include "consoles/CTransceivePage.h"
#include "pages/CAt1608Page.h"
#include "pages/CAt88rf020Page.h"
#include "pages/CPortSetPage.h"
#include "pages/CShc1102Page.h"
#include "pages/CSr176Page.h"
#include "pages/CSrix4kPage.h"
#include "pages/CTrh1064Page.h"
#include "pages/CUltraLightPage.h"
#include "reader/RuntimeState.h"
#include "reporting/ReportSink.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QFile>
#include <QTimer>
#include <QtTest/QTest>

#include <algorithm>
#include <memory>
#include <optional>
#include <random>
#include <set>

namespace {

// The pages are built for a screen of this width.
constexpr int ScreenWidth_px = 1024;

// Counts the reports of each press on their way to the harness's information bar and log.
class CountingSink : public ReportSink
{
public:
    explicit CountingSink(ReportSink *next) : m_next(next) {}

    void showMemo(const QString &text) override
    {
        memos << text;
        m_next->showMemo(text);
    }
    void clearLog() override { m_next->clearLog(); }
    void appendLog(const QString &text, int32_t status) override { m_next->appendLog(text, status); }
    void showConnection(int port, int bitsPerSecond) override { m_next->showConnection(port, bitsPerSecond); }

    QStringList memos;

private:
    ReportSink *m_next;
};

// The consoles write their command books beside the program when they close: the run leaves
// the files as it found them.
class BookFilesGuard
{
public:
    BookFilesGuard()
    {
        for (const char *name : {"testcmdbooks.txt", "cpubooks.txt", "cosbooks.txt", "samcosbooks.txt"}) {
            QFile file(ProgramFilePath(QString::fromLatin1(name)));
            m_files.push_back({file.fileName(), file.open(QIODevice::ReadOnly) ? std::optional(file.readAll()) : std::nullopt});
        }
    }
    ~BookFilesGuard()
    {
        for (const auto &[path, content] : m_files) {
            QFile::remove(path);
            QFile file(path);
            if (content && file.open(QIODevice::WriteOnly))
                file.write(*content);
        }
    }
    BookFilesGuard(const BookFilesGuard &) = delete;
    BookFilesGuard &operator=(const BookFilesGuard &) = delete;

private:
    std::vector<std::pair<QString, std::optional<QByteArray>>> m_files;
};

int controlId(const QWidget *widget)
{
    return widget->objectName().mid(2).toInt();
}

// Hex fields get bytes up to their limit (8 where they have none), decimal fields a small
// value, lists a random item, hex grids an edited byte: what an operator might have entered or
// an earlier answer left (the locked fields too).
void fillFields(CCardPage &page, std::mt19937 &random)
{
    for (QWidget *widget : page.controls()) {
        const ControlKind kind = page.controlKind(controlId(widget));
        if (auto *hex = qobject_cast<CHexEdit *>(widget); hex != nullptr && kind == ControlKind::HexEdit) {
            // Mostly full, now and then short or empty, as operators type them.
            const int full = hex->GetMaxBytes() > 0 ? hex->GetMaxBytes() : 8;
            const int count = random() % 4 != 0 ? full : int(random() % uint32_t(full + 1));
            QByteArray bytes(count, '\0');
            for (char &byte : bytes)
                byte = char(random() & 0xFF);
            hex->SetHexBytes(bytes);
        } else if (auto *decimal = qobject_cast<CDecEdit *>(widget)) {
            decimal->setValue(int32_t(random() % 100));
        } else if (auto *list = qobject_cast<QComboBox *>(widget); list != nullptr && list->count() > 0 && list->isEnabled()) {
            list->setCurrentIndex(int(random() % uint32_t(list->count())));
        } else if (auto *grid = qobject_cast<CHexGrid *>(widget)) {
            grid->setCaretPosition(int(random() % 64));
            QTest::keyClicks(grid, QStringLiteral("5a"));
        }
    }
}

// Closes a modal dialog that a press opens (the command picker), as the operator's Exit does.
void closeModalDialogs()
{
    QTimer::singleShot(0, [] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            dialog->reject();
    });
}

// What a press owes the information bar where it is not exactly one result, as each page's
// operations are specified.
enum class Owes {
    One,
    Nothing,            // no reader operation (the command pickers) or none reported (the DES tool)
    OnlyFailures,       // the clock: a failure is reported, a success says nothing
    LogOnlyFailures,    // SHC1102 reads and writes: a failed card call is only logged, and a read
                        // without a whole password ends silently after the free blocks
    SilentRefusal,      // ST tags' Write Block and Lock: a field of another length sends and says nothing
    OnePerAttempt,      // selections that retry: every failed attempt is reported, and the success
    OnePerTry,          // CPU card reset: the field once, then every failed reset try and the success
    SelectionThenOne,   // Mifare: each selection attempt reports, then the operation itself
    FailureThenOne,     // Connect on an open port: "Connect failed", then the new connection's result
};

struct ReportRule {
    const char *page;
    int button; // 0: every button of the page
    Owes owes;
};

const ReportRule ReportRules[] = {
    {"Set", CPortSetPage::ConnectButton, Owes::FailureThenOne},
    {"Set", CPortSetPage::ClockRead, Owes::OnlyFailures},
    {"Set", CPortSetPage::ClockWrite, Owes::OnlyFailures},
    {"Mifare_UltraLight", CUltraLightPage::RequestAllButton, Owes::OnePerAttempt},
    {"Mifare_Std S50", 0, Owes::SelectionThenOne},
    {"Mifare_ Std S70", 0, Owes::SelectionThenOne},
    {"SR176", CSr176Page::RequestButton, Owes::OnePerAttempt},
    {"SRIX4K", CSrix4kPage::RequestButton, Owes::OnePerAttempt},
    {"TRH1064", CTrh1064Page::SearchButton, Owes::OnePerAttempt},
    {"SR176", CSr176Page::WriteButton, Owes::SilentRefusal},
    {"SR176", CSr176Page::LockButton, Owes::SilentRefusal},
    {"SRIX4K", CSrix4kPage::WriteButton, Owes::SilentRefusal},
    {"SRIX4K", CSrix4kPage::LockButton, Owes::SilentRefusal},
    {"SHC1102", CShc1102Page::ReadButton, Owes::LogOnlyFailures},
    {"SHC1102", CShc1102Page::WriteButton, Owes::LogOnlyFailures},
    {"AT88RF020", CAt88rf020Page::ReqBButton, Owes::OnePerAttempt},
    {"Mifare_Pro(X) ", CIso14443CpuPage::ResetButton, Owes::OnePerTry},
    {"SmartCard", CIso14443CpuPage::ResetButton, Owes::OnePerTry},
    {"Mifare_DesFire", CIso14443CpuPage::ResetButton, Owes::OnePerTry},
    {"AT88SC1608", CAt1608Page::InitializeButton, Owes::Nothing}, // hidden, no action
    {"SAM", CSamPage::EncryptButton, Owes::Nothing},
    {"SAM", CSamPage::DecryptButton, Owes::Nothing},
    // The consoles' command picker and result-list Clear.
    {"SAM", CSamPage::PickerButton, Owes::Nothing},
    {"SAM", CSamPage::ClearButton, Owes::Nothing},
    {"CPU Card", CCpuCardPage::PickerButton, Owes::Nothing},
    {"CPU Card", CCpuCardPage::ClearButton, Owes::Nothing},
    {"Test", CTransceivePage::PickerButton, Owes::Nothing},
    {"Test", CTransceivePage::ClearButton, Owes::Nothing},
    {"Mifare_Pro(X) ", CIso14443CpuPage::PickerButton, Owes::Nothing},
    {"Mifare_Pro(X) ", CIso14443CpuPage::ClearButton, Owes::Nothing},
    {"SmartCard", CIso14443CpuPage::PickerButton, Owes::Nothing},
    {"SmartCard", CIso14443CpuPage::ClearButton, Owes::Nothing},
    {"Mifare_DesFire", CIso14443CpuPage::PickerButton, Owes::Nothing},
    {"Mifare_DesFire", CIso14443CpuPage::ClearButton, Owes::Nothing},
};

Owes owedBy(const QString &page, int button)
{
    for (const ReportRule &rule : ReportRules) {
        if (page == QLatin1String(rule.page) && (rule.button == 0 || rule.button == button))
            return rule.owes;
    }
    return Owes::One;
}

// Whether the reports of one press are those its operation owes. A selection attempt starts by
// switching the field off.
bool reportsAsOwed(Owes owes, const QStringList &memos, const std::vector<FakeReader::Call> &calls, const QStringList &log,
                   bool refused)
{
    const int results = int(memos.size());
    if (results == 0 && refused)
        return true;
    const auto failure = [](const QString &memo) { return memo.startsWith(QStringLiteral("Error: ")); };
    const int attempts = int(std::count_if(calls.begin(), calls.end(), [](const FakeReader::Call &call) {
        return call.name == QStringLiteral("rf_antenna_sta") && call.args == std::vector<int64_t>{0};
    }));
    const int tries = int(std::count_if(calls.begin(), calls.end(), [](const FakeReader::Call &call) {
        return call.name == QStringLiteral("rf_typea_rst") || call.name == QStringLiteral("rf_DESFire_rst")
            || call.name == QStringLiteral("rf_atqb");
    }));
    switch (owes) {
    case Owes::One: return results == 1;
    case Owes::Nothing: return results == 0;
    case Owes::OnlyFailures: return results == 0 || (results == 1 && failure(memos.front()));
    case Owes::LogOnlyFailures: {
        // Log lines read "name status", the status in hexadecimal.
        const QStringList last = log.isEmpty() ? QStringList() : log.last().split(QLatin1Char(' '));
        const bool cardCallFailed = last.size() == 2 && last[0].startsWith(QStringLiteral("rf_Shc1102_")) && last[1] != QStringLiteral("0");
        const auto called = [&calls](const char *name) {
            return std::any_of(calls.begin(), calls.end(), [name](const FakeReader::Call &call) { return call.name == QLatin1String(name); });
        };
        const bool noPassword = called("rf_Shc1102_Read") && !called("rf_Shc1102_Auth");
        return results == (cardCallFailed || noPassword ? 0 : 1);
    }
    case Owes::SilentRefusal: return results == (calls.empty() ? 0 : 1);
    case Owes::OnePerAttempt: return results == std::max(attempts, 1);
    case Owes::OnePerTry: return results == std::max(tries, 1);
    case Owes::SelectionThenOne: {
        // After the selection a refused field ends the operation in its message box.
        const bool selected = attempts == 0 || (results >= attempts && !failure(memos[attempts - 1]));
        return results == attempts + (selected && !refused ? 1 : 0);
    }
    case Owes::FailureThenOne: return results == 2 && failure(memos.front());
    }
    return false;
}

struct PageUnderTest {
    QString name;
    std::function<CCardPage *()> make;
};

std::vector<PageUnderTest> pagesUnderTest()
{
    std::vector<PageUnderTest> pages;
    for (CardKind kind : TableCardKinds) {
        if (HasCardPage(kind))
            pages.push_back({CardName(kind), [kind] { return CreateCardPage(kind, ScreenWidth_px, nullptr); }});
    }
    pages.push_back({CardName(CardKind::PortPage), [] { return new CPortSetPage(nullptr); }});
    return pages;
}

} // namespace

HostileRunFigures RunHostileDriver(const std::vector<uint32_t> &seeds)
{
    const auto started = std::chrono::steady_clock::now();
    const BookFilesGuard books;
    // The call trace reads every buffer of every call by the library's buffer table: it runs
    // under the lying answers too.
    qint64 traced = 0;
    const ReaderCallObserver previousObserver = SetReaderCallObserver([&traced](const ReaderCallRecord &record) {
        traced += ReaderCallTrace::jsonLine(record, traced, QDateTime()).size();
    });
    HostileRunFigures figures;
    figures.seeds = int(seeds.size());
    const std::vector<PageUnderTest> pages = pagesUnderTest();
    figures.pages = int(pages.size());
    for (const uint32_t seed : seeds) {
        for (std::size_t pageIndex = 0; pageIndex < pages.size(); ++pageIndex) {
            const PageUnderTest &pageUnderTest = pages[pageIndex];
            PageHarness harness;
            HostileAnswerPlan plan(seed * 1000u + uint32_t(pageIndex));
            plan.install(harness.reader());
            std::mt19937 fields(seed);
            ReportSink *frameSink = CurrentReportSink();
            CountingSink sink(frameSink);
            SetReportSink(&sink);
            std::unique_ptr<CCardPage> page(pageUnderTest.make());
            std::vector<int> buttons;
            for (QWidget *widget : page->controls()) {
                const int id = controlId(widget);
                if (page->controlKind(id) == ControlKind::Button && page->control(id) == widget)
                    buttons.push_back(id);
            }
            for (const int id : buttons) {
                fillFields(*page, fields);
                QAbstractButton *button = page->button(id);
                if (!button->isEnabled())
                    continue;
                PortOpen = true;
                sink.memos.clear();
                harness.reader().clearCalls();
                const std::size_t boxesBefore = harness.messageBoxes().size();
                closeModalDialogs();
                button->click();
                QCoreApplication::processEvents();
                ++figures.operations;
                const int results = int(sink.memos.size());
                // A field the operation refuses is said in a message box instead of a report.
                const auto &boxes = harness.messageBoxes();
                const bool refused = std::any_of(boxes.begin() + std::ptrdiff_t(boxesBefore), boxes.end(), [](const MessageBoxRequest &box) {
                    return box.buttons == MessageButtons::Ok && (box.icon == MessageIcon::Error || box.icon == MessageIcon::Warning);
                });
                // Every function of the recording reader is bound: none may be reported missing.
                const bool misreported = sink.memos.join(QLatin1Char('\n')).contains(QStringLiteral("is not in the reader library"));
                if (!misreported && reportsAsOwed(owedBy(pageUnderTest.name, id), sink.memos, harness.reader().calls(),
                                                   harness.logLines(), refused))
                    continue;
                figures.failures << QStringLiteral("%1, button %2 (%3), seed %4: %5 results [%6]; calls: %7")
                                        .arg(pageUnderTest.name)
                                        .arg(id)
                                        .arg(button->text())
                                        .arg(seed)
                                        .arg(results)
                                        .arg(sink.memos.join(QStringLiteral(" | ")),
                                             harness.reader().callNames().join(QLatin1Char(' ')));
            }
            page.reset();
            SetReportSink(frameSink);
        }
    }
    SetReaderCallObserver(previousObserver);
    figures.time = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    return figures;
}
