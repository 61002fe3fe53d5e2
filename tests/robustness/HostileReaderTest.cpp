#include "PageHarness.h"

#include "app/CardPages.h"
#include "app/ReaderCallTrace.h"
#include "base/CardTypes.h"
#include "base/ProgramDirectory.h"
#include "consoles/CCpuCardPage.h"
#include "consoles/CIso14443CpuPage.h"
#include "consoles/CSamPage.h"
#include "consoles/CTransceivePage.h"
#include "controls/CDecEdit.h"
#include "controls/CHexEdit.h"
#include "controls/CHexGrid.h"
#include "pages/CAt1608Page.h"
#include "pages/CAt88rf020Page.h"
#include "pages/CPortSetPage.h"
#include "pages/CShc1102Page.h"
#include "pages/CSr176Page.h"
#include "pages/CSrix4kPage.h"
#include "pages/CTrh1064Page.h"
#include "pages/CUltraLightPage.h"
#include "reader/RuntimeState.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>

namespace {

// The ways a lying reader library answers a call.
enum class Kind {
    Plausible,     // status 0 and an answer of a likely size (the natural one where known)
    LongestLength, // status 0, the offered buffer filled, the largest length a byte can say
    Overlong,      // status 0, the offered buffer filled, a length beyond it where a byte can say one
    Garbage,       // status 0, random bytes of a random length within the buffer
    RandomStatus,  // a random non-zero status, with random bytes in the buffer
    EmptySuccess,  // status 0, no data, length 0
};

// A one-byte length cannot say more.
constexpr int LongestByteLength = 255;

// Answer sizes the cards of the library give most often: a byte, a type answer, a serial
// number, a page, a clock, a UID, a system information, a block.
constexpr std::array<int, 8> LikelySizes = {1, 2, 4, 7, 8, 8, 15, 16};

// Half of the calls answer plausibly, so that operations of several calls get far.
Kind drawKind(std::mt19937 &random)
{
    const int draw = int(random() % 10);
    if (draw < 5)
        return Kind::Plausible;
    return std::array{Kind::LongestLength, Kind::Overlong, Kind::Garbage, Kind::RandomStatus,
                      Kind::EmptySuccess}[std::size_t(draw - 5)];
}

QByteArray randomBytes(std::mt19937 &random, int count)
{
    QByteArray bytes(std::max(count, 0), '\0');
    for (char &byte : bytes)
        byte = char(random() & 0xFF);
    return bytes;
}

// The lie of the given kind for a call. The recording reader writes it only within the buffer
// the program offered; the length it reports may say more.
FakeReader::Answer hostileAnswer(const FakeReader::Offer &offer, Kind kind, std::mt19937 &random)
{
    // What a byte length lets the library write at most, and the most it can claim.
    const int room = offer.reportsLength ? std::min(offer.bufferBytes, LongestByteLength) : offer.bufferBytes;
    const int claim = offer.reportsLength ? LongestByteLength : offer.bufferBytes;
    const auto someBytes = [&] { return randomBytes(random, room > 0 ? int(random() % uint32_t(room + 1)) : 0); };
    switch (kind) {
    case Kind::Plausible: {
        FakeReader::Answer answer = FakeReader::naturalAnswer(offer.name);
        if (answer.data.isEmpty() && room > 0) {
            const int likely = offer.reportsLength ? LikelySizes[random() % LikelySizes.size()] : room;
            answer.data = randomBytes(random, std::min(likely, room));
        }
        answer.value = int64_t(random() % 1000);
        return answer;
    }
    case Kind::LongestLength: return {0, randomBytes(random, room), claim, int64_t(int32_t(random()))};
    case Kind::Overlong:
        return {0, randomBytes(random, room), room < claim ? room + 1 + int(random() % uint32_t(claim - room)) : claim,
                int64_t(int32_t(random()))};
    case Kind::Garbage: return {0, someBytes(), -1, int64_t(int32_t(random()))};
    case Kind::RandomStatus: {
        int32_t status = 0;
        while (status == 0)
            status = int32_t(random());
        // Small statuses are what readers give; any value may come, -1 too.
        const uint32_t choice = random() % 4;
        status = choice < 2 ? int32_t(1 + random() % 0xFF) : choice == 2 ? -1 : status;
        return {status, someBytes(), -1, int64_t(int32_t(random()))};
    }
    case Kind::EmptySuccess: return {0, {}, 0, 0};
    }
    return {};
}

// The lying reader claims what it likes but writes only within the buffer the contract offers:
// it is the program under test that must not read beyond it.
TEST(HostileReader, WritesOnlyWithinTheOfferedBufferWhateverLengthItClaims)
{
    FakeReader reader;
    std::mt19937 random(7);
    AnswerBuffer buffer{};
    uint8_t length = 0;
    const struct {
        const char *name;
        Kind kind;
        std::function<void()> call;
        int offered;
        int minimumLength, maximumLength; // -1: no length comes back
    } rows[] = {
        {"ReadTime", Kind::Overlong, [&] { ReaderApi.ReadTime(0, buffer.data(), &length); }, 7, 8, 255},
        {"ReadTime", Kind::LongestLength, [&] { ReaderApi.ReadTime(0, buffer.data(), &length); }, 7, 255, 255},
        {"rf_M1_read", Kind::LongestLength, [&] { ReaderApi.rf_M1_read(0, 4, buffer.data(), &length); }, 255, 255, 255},
        {"Srf55vp_Write_Reread", Kind::Overlong,
         [&] { length = 8; ReaderApi.Srf55vp_Write_Reread(0, buffer.data(), 1, buffer.data(), buffer.data(), &length); }, 8, 9, 255},
        {"rf_request", Kind::LongestLength, [&] { ReaderApi.rf_request(0, 0x52, buffer.data()); }, 2, -1, -1},
        {"AT24_read", Kind::Garbage, [&] { ReaderApi.AT24_read(0, 0, 5, buffer.data()); }, 5, -1, -1},
        {"rf_anticoll", Kind::EmptySuccess, [&] { ReaderApi.rf_anticoll(0, 4, buffer.data(), &length); }, 0, 0, 0},
    };
    for (const auto &row : rows) {
        reader.setAnswerPlan([&](const FakeReader::Offer &offer) { return hostileAnswer(offer, row.kind, random); });
        buffer.fill(0xEE);
        length = 0xEE;
        row.call();
        EXPECT_TRUE(std::all_of(buffer.begin() + row.offered, buffer.end(), [](uint8_t byte) { return byte == 0xEE; }))
            << row.name;
        if (row.minimumLength >= 0) {
            EXPECT_GE(length, row.minimumLength) << row.name;
            EXPECT_LE(length, row.maximumLength) << row.name;
        }
    }
}

// The pages are built for a screen of this width. A press that calls the reader more often than
// this is taken for one that never ends.
constexpr int ScreenWidth_px = 1024;
constexpr int CallsPerPressAtMost = 5000;

int controlId(const QWidget *widget)
{
    return widget->objectName().mid(2).toInt();
}

// What an operator might have entered or an earlier answer left, the locked fields too: hex
// fields mostly full (8 bytes where they have no limit), now and then short or empty; decimal
// fields a small value, lists a random item, hex grids an edited byte.
void fillFields(CCardPage &page, std::mt19937 &random)
{
    for (QWidget *widget : page.controls()) {
        if (auto *hex = qobject_cast<CHexEdit *>(widget); hex != nullptr && page.controlKind(controlId(widget)) == ControlKind::HexEdit) {
            const int full = hex->GetMaxBytes() > 0 ? hex->GetMaxBytes() : 8;
            hex->SetHexBytes(randomBytes(random, random() % 4 != 0 ? full : int(random() % uint32_t(full + 1))));
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

// What a press owes the information bar where it is not exactly one result.
enum class Owes {
    One,
    Nothing,          // no reader operation: the consoles' command pickers and Clear
    OnlyFailures,     // the clock and the SAM console's ciphers: a failure is reported, a success says nothing
    LogOnlyFailures,  // SHC1102 reads and writes: a failed card call is only logged, and a read
                      // without a whole password ends silently after the free blocks
    SilentRefusal,    // ST tags' Write Block and Lock: a field of another length sends and says nothing
    OnePerAttempt,    // selections that retry: every failed attempt is reported, and the success
    OnePerTry,        // CPU card reset: every failed reset try and the success
    SelectionThenOne, // Mifare: each selection attempt reports, then the operation itself
    FailureThenOne,   // Connect on an open port: "Connect failed", then the new connection's result
};

const struct {
    QStringList pages;
    std::vector<int> buttons; // none: every button of the page
    Owes owes;
} ReportRules[] = {
    {{"Set"}, {CPortSetPage::ConnectButton}, Owes::FailureThenOne},
    {{"Set"}, {CPortSetPage::ClockRead, CPortSetPage::ClockWrite}, Owes::OnlyFailures},
    {{"Mifare_Std S50", "Mifare_ Std S70"}, {}, Owes::SelectionThenOne},
    {{"Mifare_UltraLight"}, {CUltraLightPage::RequestAllButton}, Owes::OnePerAttempt},
    {{"SR176"}, {CSr176Page::RequestButton}, Owes::OnePerAttempt},
    {{"SRIX4K"}, {CSrix4kPage::RequestButton}, Owes::OnePerAttempt},
    {{"TRH1064"}, {CTrh1064Page::SearchButton}, Owes::OnePerAttempt},
    {{"AT88RF020"}, {CAt88rf020Page::ReqBButton}, Owes::OnePerAttempt},
    {{"SR176"}, {CSr176Page::WriteButton, CSr176Page::LockButton}, Owes::SilentRefusal},
    {{"SRIX4K"}, {CSrix4kPage::WriteButton, CSrix4kPage::LockButton}, Owes::SilentRefusal},
    {{"SHC1102"}, {CShc1102Page::ReadButton, CShc1102Page::WriteButton}, Owes::LogOnlyFailures},
    {{"AT88SC1608"}, {CAt1608Page::InitializeButton}, Owes::Nothing}, // hidden, no action
    {{"SAM"}, {CSamPage::EncryptButton, CSamPage::DecryptButton}, Owes::OnlyFailures},
    {{"SAM", "CPU Card"}, {CCpuCardPage::PickerButton, CCpuCardPage::ClearButton}, Owes::Nothing}, // the same ids
    {{"Test"}, {CTransceivePage::PickerButton, CTransceivePage::ClearButton}, Owes::Nothing},
    {{"Mifare_Pro(X) ", "SmartCard", "Mifare_DesFire"}, {CIso14443CpuPage::PickerButton, CIso14443CpuPage::ClearButton},
     Owes::Nothing},
    {{"Mifare_Pro(X) ", "SmartCard", "Mifare_DesFire"}, {CIso14443CpuPage::ResetButton}, Owes::OnePerTry},
};

Owes owedBy(const QString &page, int button)
{
    for (const auto &rule : ReportRules) {
        if (rule.pages.contains(page)
            && (rule.buttons.empty() || std::count(rule.buttons.begin(), rule.buttons.end(), button) > 0))
            return rule.owes;
    }
    return Owes::One;
}

// Whether the results of one press are those it owes. A selection attempt starts by switching
// the field off; a field the operation refuses is said in a message box instead.
bool reportsAsOwed(Owes owes, const QStringList &memos, const FakeReader &reader, const QStringList &log, bool refused)
{
    const int results = int(memos.size());
    if (results == 0 && refused)
        return true;
    const auto failure = [](const QString &memo) { return memo.startsWith(QStringLiteral("Error: ")); };
    const auto count = [&reader](const std::function<bool(const FakeReader::Call &)> &which) {
        return int(std::count_if(reader.calls().begin(), reader.calls().end(), which));
    };
    const auto called = [&count](const char *name) { return count([name](const auto &call) { return call.name == QLatin1String(name); }) > 0; };
    const int attempts = count([](const auto &call) { return call.name == QStringLiteral("rf_antenna_sta") && call.args == std::vector<int64_t>{0}; });
    switch (owes) {
    case Owes::One: return results == 1;
    case Owes::Nothing: return results == 0;
    case Owes::OnlyFailures: return results == 0 || (results == 1 && failure(memos.front()));
    case Owes::LogOnlyFailures: {
        // Log lines read "name status", the status in hexadecimal.
        const QStringList last = log.isEmpty() ? QStringList() : log.last().split(QLatin1Char(' '));
        const bool cardCallFailed = last.size() == 2 && last[0].startsWith(QStringLiteral("rf_Shc1102_")) && last[1] != QStringLiteral("0");
        return results == (cardCallFailed || (called("rf_Shc1102_Read") && !called("rf_Shc1102_Auth")) ? 0 : 1);
    }
    case Owes::SilentRefusal: return results == (reader.calls().empty() ? 0 : 1);
    case Owes::OnePerAttempt: return results == std::max(attempts, 1);
    case Owes::OnePerTry:
        return results == std::max(1, count([](const auto &call) {
                   return call.name == QStringLiteral("rf_typea_rst") || call.name == QStringLiteral("rf_DESFire_rst")
                       || call.name == QStringLiteral("rf_atqb");
               }));
    case Owes::SelectionThenOne: {
        // After the selection a refused field ends the operation in its message box.
        const bool selected = attempts == 0 || (results >= attempts && !failure(memos[attempts - 1]));
        return results == attempts + (selected && !refused ? 1 : 0);
    }
    case Owes::FailureThenOne: return results == 2 && failure(memos.front());
    }
    return false;
}

// Every button of every page (the card table's pages and the port page) with plausible field
// contents, under a reader library that lies by a seeded plan: no crash, no sanitizer report, no
// press without end, and each press ends in the results it owes. VORNEX_HOSTILE_SEEDS=N runs
// seeds 1 to N (2 by default); a long run is a sanitized build with a thousand.
TEST(HostileReader, EveryButtonOfEveryPageSurvivesALyingLibrary)
{
    const int seeds = qEnvironmentVariableIsSet("VORNEX_HOSTILE_SEEDS") ? qEnvironmentVariableIntValue("VORNEX_HOSTILE_SEEDS") : 2;
    // The consoles write their command books beside the program when they close: not here.
    QTemporaryDir programFolder;
    SetProgramDirectoryOverride(programFolder.path());
    // The call trace reads every buffer of every call by the library's buffer table: it runs
    // under the lying answers too.
    qint64 traced = 0;
    const ReaderCallObserver previousObserver = SetReaderCallObserver([&traced](const ReaderCallRecord &record) {
        traced += ReaderCallTrace::jsonLine(record, traced, QDateTime()).size();
    });
    std::vector<CardKind> kinds;
    std::copy_if(TableCardKinds.begin(), TableCardKinds.end(), std::back_inserter(kinds), HasCardPage);
    kinds.push_back(CardKind::PortPage);
    long presses = 0;
    QStringList failures;
    for (uint32_t seed = 1; seed <= uint32_t(std::max(seeds, 0)); ++seed) {
        for (std::size_t pageIndex = 0; pageIndex < kinds.size(); ++pageIndex) {
            const QString name = CardName(kinds[pageIndex]);
            PageHarness harness;
            std::mt19937 answers(seed * 1000u + uint32_t(pageIndex));
            QString press;
            int calls = 0;
            harness.reader().setAnswerPlan([&](const FakeReader::Offer &offer) {
                if (++calls > CallsPerPressAtMost) {
                    // The press goes on for ever: nothing after it can run.
                    ADD_FAILURE() << press.toStdString() << ": the press never ends";
                    std::fflush(stdout);
                    std::_Exit(1);
                }
                return hostileAnswer(offer, drawKind(answers), answers);
            });
            std::mt19937 fields(seed);
            std::unique_ptr<CCardPage> page(kinds[pageIndex] == CardKind::PortPage
                                                ? new CPortSetPage(nullptr)
                                                : CreateCardPage(kinds[pageIndex], ScreenWidth_px, nullptr));
            const std::vector<QWidget *> controls = page->controls();
            for (QWidget *widget : controls) {
                const int id = controlId(widget);
                if (page->controlKind(id) != ControlKind::Button || page->control(id) != widget)
                    continue;
                QAbstractButton *button = page->button(id);
                fillFields(*page, fields);
                if (!button->isEnabled())
                    continue;
                press = QStringLiteral("%1, button %2 (%3), seed %4").arg(name).arg(id).arg(button->text()).arg(seed);
                PortOpen = true;
                harness.reader().clearCalls();
                calls = 0;
                const qsizetype memosBefore = harness.memos().size();
                const std::size_t boxesBefore = harness.messageBoxes().size();
                // A modal dialog that the press opens (the command picker) is closed as the operator's Exit does.
                QTimer::singleShot(0, [] {
                    if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                        dialog->reject();
                });
                button->click();
                QCoreApplication::processEvents();
                ++presses;
                const QStringList memos = harness.memos().mid(memosBefore);
                const auto &boxes = harness.messageBoxes();
                const bool refused = std::any_of(boxes.begin() + std::ptrdiff_t(boxesBefore), boxes.end(), [](const MessageBoxRequest &box) {
                    return box.buttons == MessageButtons::Ok && (box.icon == MessageIcon::Error || box.icon == MessageIcon::Warning);
                });
                // Every function of the recording reader is bound: none may be reported missing.
                if (!memos.join(QLatin1Char('\n')).contains(QStringLiteral("is not in the reader library"))
                    && reportsAsOwed(owedBy(name, id), memos, harness.reader(), harness.logLines(), refused))
                    continue;
                failures << QStringLiteral("%1: %2 results [%3]; calls: %4")
                                .arg(press)
                                .arg(memos.size())
                                .arg(memos.join(QStringLiteral(" | ")), harness.reader().callNames().join(QLatin1Char(' ')));
            }
        }
    }
    SetReaderCallObserver(previousObserver);
    SetProgramDirectoryOverride(QString());
    EXPECT_GT(presses, 125L * seeds);
    EXPECT_TRUE(failures.isEmpty()) << failures.join(QLatin1Char('\n')).toStdString();
}

} // namespace
