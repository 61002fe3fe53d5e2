#include "PageChecks.h"

#include "pages/CPortSetPage.h"
#include "reader/RuntimeState.h"

#include <QDateEdit>
#include <QDateTime>
#include <QLabel>
#include <QTimeEdit>

namespace {

using namespace pagechecks;
using enum CPortSetPage::ControlId;

const QStringList AllCards = {
    "SHC1102", "Mifare_UltraLight", "Mifare_Std S50", "Mifare_Std S70", "Mifare_DESFire",
    "Mifare_Pro(X)", "SR176", "SRIX4K", "AT88RF020", "SmartCard(ISO14443B)", "I.CODE SLI",
    "Tag_it", "SRF55V02P", "SRF55V10P",
};

// The Memo field at the moment the reader is asked to open the port.
QString memoWhenOpening;
CInfoBar *watchedInfoBar = nullptr;

int32_t ZENTRAVA_CALL openWatchingMemo(int32_t port, int32_t baud)
{
    memoWhenOpening = watchedInfoBar->memoText();
    return FakeReader::instance()->take(QStringLiteral("rf_init_com"), {port, baud}).status;
}

// "Port Set" opens with the run-time state as the test left it.
class PortSetPageTest : public PageTest<CPortSetPage>
{
protected:
    QStringList checkedCards()
    {
        QStringList cards;
        for (int id = FirstSupportBox; id < FirstSupportBox + CPortSetPage::SupportBoxCount; ++id) {
            if (m_page->button(id)->isChecked())
                cards << m_page->button(id)->text();
        }
        return cards;
    }
    QString infoBarValue(int id) { return harness.infoBar().findChild<QLabel *>(QStringLiteral("id%1").arg(id))->text(); }
    // The port's state, the Memo field and the log pane after a connect.
    QString connection()
    {
        return QStringLiteral("%1 | %2 | %3").arg(PortOpen ? "open" : "closed", harness.memo(), harness.logLines().join(", "));
    }
    void showModel(const QByteArray &model)
    {
        reader().script(QStringLiteral("rf_get_model"), {0, model, -1, 0});
        click(GetButton);
    }
    QStringList names() { return reader().callNames(); }
    // The model, the version and the Memo field.
    QString shown() { return text(ModelField) + " " + text(VersionField) + " " + harness.memo(); }
    QDateEdit *clockDate() { return m_page->control<QDateEdit>(ClockDate); }
    QTimeEdit *clockTime() { return m_page->control<QTimeEdit>(ClockTime); }
};

TEST_F(PortSetPageTest, OpensWithTheSavedPortAndRateAndNothingOverlapping)
{
    ComPort = 3;
    BaudRate = 4;
    open();
    EXPECT_EQ((QStringList{text(PortList), text(BaudList), text(ColourList)}), (QStringList{"COM3", "38400", "Off"}));
    EXPECT_EQ(m_page->caption(PortGroup) + "|" + text(ConnectButton), "Port Setting|Connect");
    EXPECT_EQ((std::pair{m_page->button(AntennaOn)->isChecked(), m_page->button(AntennaOff)->isChecked()}), (std::pair{true, false}));
    EXPECT_EQ(text(WeekDayText), QStringLiteral("week %1 ").arg(QDate::currentDate().dayOfWeek()));
    EXPECT_EQ(m_page->contentHeight(), m_page->height());
    EXPECT_EQ(ComPort * 10 + BaudRate, 34) << "opening the page stores nothing";

    // Every control lies on the page and only group boxes overlap others.
    std::vector<QWidget *> controls;
    for (QWidget *widget : m_page->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        const int id = widget->objectName().mid(2).toInt();
        if (!widget->objectName().startsWith(QLatin1String("id")) || (id >= PortGroup && id <= SupportGroup))
            continue;
        EXPECT_TRUE(m_page->rect().contains(widget->geometry())) << widget->objectName().toStdString();
        for (QWidget *other : controls)
            EXPECT_FALSE(other->geometry().intersects(widget->geometry()))
                << other->objectName().toStdString() << " overlaps " << widget->objectName().toStdString();
        controls.push_back(widget);
    }
    EXPECT_GE(controls.size(), 40u);

    // Built for Chinese it shows the Chinese captions and week day, but no Chinese colour names;
    // a caption given in one language only stands in both.
    LanguageIndex = 0;
    open();
    EXPECT_EQ(m_page->caption(PortGroup) + "|" + text(ConnectButton) + "|" + text(FirstSupportBox), "端口设置|连接|SHC1102");
    EXPECT_EQ(text(WeekDayText), QStringLiteral("星期 %1 ").arg(QDate::currentDate().dayOfWeek()));
    EXPECT_EQ(text(ColourList), "Off");
}

TEST_F(PortSetPageTest, ChoosingStoresPortAndRateConnectOpensThemAndConnectingAgainReportsTheDropFirst)
{
    ComPort = 0;
    PortOpen = false;
    open();
    EXPECT_EQ(m_page->comboBox(PortList)->currentIndex(), -1) << "a port outside the list shows no selection";
    choose(BaudList, "57600");
    EXPECT_EQ(QStringLiteral("%1 %2").arg(ComPort).arg(BaudRate), "-1 5") << "a rate change then stores no port";
    reader().scriptStatus(QStringLiteral("rf_init_com"), 1);
    click(ConnectButton);
    EXPECT_EQ(calls(), QStringList({"rf_init_com(-1,57600)", "rf_close_com()"}));
    EXPECT_EQ(connection(), "closed | Error: 1 ,function: rf_init_com | rf_init_com 1");

    // Choosing stores the port and rate without calling the reader or touching the information bar.
    reader().clearCalls();
    choose(PortList, "COM4");
    choose(BaudList, "19200");
    EXPECT_EQ(ComPort * 10 + BaudRate, 42);
    EXPECT_TRUE(reader().calls().empty());
    EXPECT_EQ(infoBarValue(CInfoBar::PortValue), "");
    click(ConnectButton);
    EXPECT_EQ(calls(), QStringList({"rf_init_com(4,19200)"}));
    EXPECT_EQ(connection(), "open | Connect successful | rf_init_com 0");
    EXPECT_EQ(harness.sounds(), 1);
    EXPECT_EQ(infoBarValue(CInfoBar::PortValue) + " " + infoBarValue(CInfoBar::BaudValue), "COM4 19200");

    // Connecting while connected reports the drop before it opens the port again.
    reader().clearCalls();
    ReaderApi.rf_init_com = openWatchingMemo;
    watchedInfoBar = &harness.infoBar();
    memoWhenOpening.clear();
    click(ConnectButton);
    EXPECT_EQ(names(), QStringList({"rf_close_com", "rf_init_com"}));
    EXPECT_EQ(memoWhenOpening, "Error: Connect failed");
    EXPECT_EQ(harness.sounds(), 2);
    EXPECT_EQ(connection(), "open | Connect successful | rf_init_com 0");

    // A failed reconnect leaves the port closed and does not show the port it tried.
    choose(PortList, "COM6");
    reader().clearCalls();
    reader().scriptStatus(QStringLiteral("rf_init_com"), 0x1f);
    click(ConnectButton);
    EXPECT_EQ(names(), QStringList({"rf_close_com", "rf_init_com", "rf_close_com"}));
    EXPECT_EQ(connection(), "closed | Error: 1f ,function: rf_init_com | rf_init_com 1f");
    EXPECT_EQ(infoBarValue(CInfoBar::PortValue), "COM4");
}

TEST_F(PortSetPageTest, GetShowsModelVersionAndTheCardsTheSixthCharacterNamesInBoxesTheOperatorCannotChange)
{
    open();
    reader().setDefault(QStringLiteral("lib_ver"), {0, {}, -1, 12});
    showModel("ZT-SIF-R2");
    EXPECT_EQ(names(), QStringList({"rf_get_model", "lib_ver"}));
    EXPECT_EQ(shown(), "ZT-SIF-R2 12.0 OK");
    EXPECT_EQ(checkedCards(), AllCards);

    const QStringList typeA = AllCards.mid(0, 6), typeB = AllCards.mid(6, 4), iso15693 = AllCards.mid(10, 4);
    const struct {
        const char *model;
        QStringList cards;
    } cases[] = {
        {"ZT-SIA", typeA}, {"ZT-SIG", typeA}, {"ZT-SIB", typeB}, {"ZT-SID", iso15693},
        {"ZT-SIE", typeA + typeB}, {"ZT-SIH", typeA + typeB}, {"ZT-SIF", AllCards},
        {"ZT-SII", AllCards}, {"ZT-SIi", AllCards}, {"ZT-SIL-R2", AllCards.mid(0, 4)},
        {"ZT-SIf", {}}, {"ZT-SIC", {}}, {"ZT-SI", {}},
    };
    for (const auto &row : cases) {
        // Start from every box checked so that clearing shows too.
        SCOPED_TRACE(row.model);
        showModel("ZT-SIF");
        showModel(row.model);
        EXPECT_EQ(checkedCards(), row.cards);
    }
    // The model text ends at the returned length.
    reader().script(QStringLiteral("rf_get_model"), {0, "ZT-SIF-LONG", 4, 0});
    click(GetButton);
    EXPECT_EQ(text(ModelField), "ZT-S");
    EXPECT_TRUE(checkedCards().isEmpty());

    // A failed model read stops before the version and keeps the fields.
    showModel("ZT-SIF-R2");
    runSession(harness, m_page.get(), {{.button = GetButton, .answers = {{"rf_get_model", answer({}, 0x0a)}}, .calls = {{"rf_get_model()"}},
                                        .shown = {{ModelField, "ZT-SIF-R2"}, {VersionField, "12.0"}},
                                        .memo = "Error: a ,function: rf_get_model"}});
    EXPECT_EQ(checkedCards(), AllCards);

    // A failed version read still shows the model, and the version field keeps what it showed.
    reader().scriptStatus(QStringLiteral("lib_ver"), 2);
    showModel("ZT-SIB");
    EXPECT_EQ(shown(), "ZT-SIB 12.0 Error: 2 ,function: lib_ver");
    EXPECT_EQ(checkedCards(), typeB);

    // The boxes ignore the operator's mouse and keys.
    m_page->show();
    for (int id : {int(FirstSupportBox), FirstSupportBox + 7})
        expectUnchangeable(m_page->button(id));
}

TEST_F(PortSetPageTest, EachSettingButtonSendsItsValueAndAFailureKeepsTheField)
{
    // The device number goes low byte first; the beeper sounds for the typed tens of
    // milliseconds, and an empty field reports success without a call.
    open();
    runSession(harness, m_page.get(), {
        {.button = DeviceNumberWrite, .typed = {{DeviceNumberField, "123"}}, .calls = {{"rf_init_device_number(786)"}},
         .memo = "OK"},
        {.button = DeviceNumberRead, .answers = {{"rf_get_device_number", hexAnswer("a05b")}},
         .calls = {{"rf_get_device_number()"}}, .shown = {{DeviceNumberField, "A05B"}}, .memo = "OK"},
        {.button = DeviceNumberRead, .answers = {{"rf_get_device_number", answer({}, 3)}},
         .shown = {{DeviceNumberField, "A05B"}}, .memo = "Error: 3 ,function: rf_get_device_number"},
        {.button = BeepButton, .typed = {{BeepField, "0A"}}, .calls = {{"rf_beep(10)"}}, .shown = {{BeepField, "0a"}},
         .memo = "OK"},
        {.button = BeepButton, .answers = {{"rf_beep", answer({}, 4)}}, .calls = {{"rf_beep(10)"}},
         .shown = {{BeepField, "0a"}}, .memo = "Error: 4 ,function: rf_beep"},
        {.button = BeepButton, .typed = {{BeepField, ""}}, .calls = QStringList{}, .memo = "OK"},
        {.button = AntennaButton, .calls = {{"rf_antenna_sta(1)"}}, .memo = "OK"},
        {.button = AntennaOff, .calls = QStringList{}},
        {.button = AntennaButton, .calls = {{"rf_antenna_sta(0)"}}, .memo = "OK"},
        {.button = AntennaOn, .calls = QStringList{}},
        {.button = AntennaButton, .answers = {{"rf_antenna_sta", answer({}, 0x20)}}, .calls = {{"rf_antenna_sta(1)"}},
         .memo = "Error: 20 ,function: rf_antenna_sta"},
        {.button = LightButton, .typed = {{ColourList, "yellow"}}, .calls = {{"rf_light(3)"}}, .memo = "OK"},
        {.button = LightButton, .typed = {{ColourList, "Off"}}, .calls = {{"rf_light(0)"}}, .memo = "OK"},
    });
}

TEST_F(PortSetPageTest, TheClockIsReadAndWrittenWithThePortClosedAndAnAnswerThatIsNoDateIsRefused)
{
    PortOpen = false;
    open();
    reader().script(QStringLiteral("ReadTime"), hexAnswer("24022904235958"));
    click(ClockRead);
    EXPECT_EQ(QDateTime(clockDate()->date(), clockTime()->time()), QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58)));
    // The reader's week day, under the Chinese caption whatever the language.
    EXPECT_EQ(text(WeekDayText) + harness.logLines().join(",") + harness.memo(), "星期 4 ReadTime 0");

    // The two-digit year belongs to the century it names; an answer that is no date, or that
    // claims more than the 7 clock bytes even when they read as one, leaves the pickers and fails.
    const struct {
        FakeReader::Answer clock;
        int year; // 0: refused
    } rows[] = {{hexAnswer("51010101000000"), 1951}, {hexAnswer("50010101000000"), 2050},
                {hexAnswer("99123105000000"), 1999}, {hexAnswer("00010106000000"), 2000},
                {hexAnswer("49010101000000"), 2049}, {hexAnswer("2402290423"), 0} /* short */,
                {hexAnswer("24130104235958"), 0} /* month 13 */, {hexAnswer("24023004235958"), 0} /* 30 February */,
                {hexAnswer("2A020104235958"), 0} /* not decimal */, {hexAnswer("24020104245958"), 0} /* hour 24 */,
                {{0, QByteArray::fromHex("24022904235958"), 255, 0}, 0} /* 255 bytes claimed */};
    int sounds = 0;
    for (const auto &row : rows) {
        SCOPED_TRACE(row.clock.data.toHex().toStdString() + ", length " + std::to_string(row.clock.length));
        const QDateTime before(clockDate()->date(), clockTime()->time());
        reader().script(QStringLiteral("ReadTime"), row.clock);
        click(ClockRead);
        if (row.year != 0) {
            EXPECT_EQ(clockDate()->date().year(), row.year);
            continue;
        }
        EXPECT_EQ(harness.memo(), "Error: 0 ,function: ReadTime");
        EXPECT_EQ(harness.sounds(), ++sounds);
        EXPECT_EQ(QDateTime(clockDate()->date(), clockTime()->time()), before);
    }
    reader().scriptStatus(QStringLiteral("ReadTime"), 0x15);
    click(ClockRead);
    EXPECT_EQ(harness.memo(), "Error: 15 ,function: ReadTime");

    // Writing sends the chosen date and time in BCD, again with the port closed.
    reader().clearCalls();
    harness.infoBar().showMemo(QStringLiteral("before"));
    clockDate()->setDate(QDate(2024, 2, 29));
    clockTime()->setTime(QTime(23, 59, 58));
    click(ClockWrite);
    EXPECT_EQ(calls(), QStringList({"WriteTime() 24022904235958"}));
    EXPECT_EQ(harness.logLines().join(",") + " " + harness.memo(), "WriteTime 0 before") << "a written clock says nothing";

    clockDate()->setDate(QDate(1999, 12, 5));
    reader().scriptStatus(QStringLiteral("WriteTime"), 6);
    click(ClockWrite);
    EXPECT_EQ(calls().last(), "WriteTime() 99120507235958");
    EXPECT_EQ(harness.memo(), "Error: 6 ,function: WriteTime");

    clockDate()->setDate(QDate(2024, 3, 3));
    EXPECT_EQ(text(WeekDayText), "week 7 ");
    clockDate()->setDate(QDate(2024, 3, 4));
    clockTime()->setTime(QTime(1, 2, 3));
    EXPECT_EQ(text(WeekDayText), "week 1 ");
}

} // namespace
