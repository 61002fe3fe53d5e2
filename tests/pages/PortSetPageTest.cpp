#include "PageTest.h"
#include "QtPrinters.h"

#include "reporting/Reporting.h"
#include "pages/CPortSetPage.h"
#include "reader/RuntimeState.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QTimeEdit>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace {

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
    CPortSetPage &openPage() { return open(); }
    QStringList checkedCards()
    {
        QStringList cards;
        for (int id = 1213; id <= 1226; ++id) {
            if (m_page->button(id)->isChecked())
                cards << m_page->button(id)->text();
        }
        return cards;
    }

    QString infoBarValue(int id)
    {
        return harness.infoBar().findChild<QLabel *>(QStringLiteral("id%1").arg(id))->text();
    }

    void showModel(const QByteArray &model)
    {
        harness.reader().script(QStringLiteral("rf_get_model"), {0, model, -1, 0});
        click(1066);
    }

    std::vector<int64_t> firstArguments(const QString &function)
    {
        std::vector<int64_t> values;
        for (const auto &call : harness.reader().callsTo(function))
            values.push_back(call.args.at(0));
        return values;
    }

    QDate clockDate() { return m_page->control<QDateEdit>(1188)->date(); }
    QTime clockTime() { return m_page->control<QTimeEdit>(1190)->time(); }
};

TEST_F(PortSetPageTest, OpensWithTheSavedPortAndRateFramesForTheGroupsAndTheSpareControlsHidden)
{
    ComPort = 3;
    BaudRate = 4;
    openPage();

    EXPECT_EQ(text(1051), "COM3");
    EXPECT_EQ(text(1052), "38400");
    EXPECT_EQ(text(1054), "Off");
    EXPECT_TRUE(m_page->button(1070)->isChecked());
    EXPECT_FALSE(m_page->button(1071)->isChecked());
    EXPECT_EQ(text(1191), QStringLiteral("week %1 ").arg(QDate::currentDate().dayOfWeek()));
    EXPECT_EQ(m_page->contentHeight(), m_page->height());
    // Opening the page stores nothing.
    EXPECT_EQ(ComPort, 3);
    EXPECT_EQ(BaudRate, 4);

    QStringList frames;
    for (const CaptionFrame &frame : m_page->captionFrames())
        frames << frame.caption();
    EXPECT_EQ(frames, QStringList({"Port Setting", "Information", "Light", "Icdeve", "Beep", "Antenna"}));
    for (int group = 1097; group <= 1104; ++group)
        EXPECT_TRUE(m_page->control(group)->isHidden()) << "group box " << group;
    // The device number buttons, the clock and the card boxes stay hidden.
    for (int id : {1063, 1064, 1188, 1190, 1191, 1186, 1187, 1213, 1220, 1226})
        EXPECT_TRUE(m_page->control(id)->isHidden()) << "control " << id;
    for (int id : {1051, 1052, 1053, 1056, 1058, 1066, 1054, 1068, 1059, 1060, 1067, 1070, 1071, 1069})
        EXPECT_FALSE(m_page->control(id)->isHidden()) << "control " << id;
}

TEST_F(PortSetPageTest, EveryControlLiesOnThePageAndOnlyGroupBoxesOverlapOthers)
{
    openPage();
    const QRect pageRect = m_page->rect();
    std::vector<std::pair<QString, QRect>> controls;
    for (QWidget *widget : m_page->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        const int id = widget->objectName().mid(2).toInt();
        if (!widget->objectName().startsWith(QLatin1String("id")) || (id >= 1097 && id <= 1104))
            continue;
        EXPECT_TRUE(pageRect.contains(widget->geometry())) << widget->objectName().toStdString();
        controls.emplace_back(widget->objectName(), widget->geometry());
    }
    EXPECT_GE(controls.size(), 40u);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        for (std::size_t j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(controls[i].second.intersects(controls[j].second))
                << controls[i].first.toStdString() << " overlaps " << controls[j].first.toStdString();
    }
}

TEST_F(PortSetPageTest, ShowsTheChineseCaptionsWhenBuiltForChinese)
{
    LanguageIndex = 0;
    openPage();

    EXPECT_EQ(text(1053), "连接");
    EXPECT_EQ(text(1227), "端口值");
    EXPECT_EQ(text(1070), "开");
    EXPECT_EQ(m_page->captionFrames().front().caption(), "端口设置");
    EXPECT_EQ(text(1191), QStringLiteral("星期 %1 ").arg(QDate::currentDate().dayOfWeek()));
    // The colour names and the card names have no Chinese texts.
    EXPECT_EQ(text(1054), "Off");
    EXPECT_EQ(m_page->button(1213)->text(), "SHC1102");
}

TEST_F(PortSetPageTest, APortOutsideTheListShowsNoSelectionAndARateChangeThenStoresNoPort)
{
    ComPort = 0;
    PortOpen = false;
    openPage();
    EXPECT_EQ(m_page->comboBox(1051)->currentIndex(), -1);

    choose(1052, "57600");
    EXPECT_EQ(ComPort, -1);
    EXPECT_EQ(BaudRate, 5);

    // The reader refuses the port that is no port.
    harness.reader().scriptStatus(QStringLiteral("rf_init_com"), 1);
    click(1053);
    ASSERT_EQ(harness.reader().callNames(), QStringList({"rf_init_com", "rf_close_com"}));
    EXPECT_EQ(harness.reader().calls()[0].args, (std::vector<int64_t>{-1, 57600}));
    EXPECT_FALSE(PortOpen);
    EXPECT_EQ(harness.memo(), "Error: 1 ,function: rf_init_com");
    EXPECT_EQ(harness.logLines(), QStringList({"rf_init_com 1"}));
    EXPECT_EQ(harness.sounds(), 1);
}

TEST_F(PortSetPageTest, ChoosingStoresPortAndRateAndConnectOpensThemAndShowsThemInTheInformationBar)
{
    PortOpen = false;
    openPage();
    choose(1051, "COM4");
    choose(1052, "19200");
    // Choosing stores the port and rate without calling the reader or touching the information bar.
    EXPECT_EQ(ComPort, 4);
    EXPECT_EQ(BaudRate, 2);
    EXPECT_TRUE(harness.reader().calls().empty());
    EXPECT_EQ(infoBarValue(1180), "");
    EXPECT_EQ(infoBarValue(1181), "");

    click(1053);

    ASSERT_EQ(harness.reader().callNames(), QStringList({"rf_init_com"}));
    EXPECT_EQ(harness.reader().calls()[0].args, (std::vector<int64_t>{4, 19200}));
    EXPECT_TRUE(PortOpen);
    EXPECT_EQ(harness.memo(), "Connect successful");
    EXPECT_EQ(harness.logLines(), QStringList({"rf_init_com 0"}));
    EXPECT_EQ(harness.sounds(), 0);
    EXPECT_EQ(infoBarValue(1180), "COM4");
    EXPECT_EQ(infoBarValue(1181), "19200");
}

TEST_F(PortSetPageTest, ConnectWhileConnectedReportsTheDropThenReconnectsOrLeavesThePortClosed)
{
    openPage();
    ReaderApi.rf_init_com = openWatchingMemo;
    watchedInfoBar = &harness.infoBar();
    memoWhenOpening.clear();
    click(1053);

    EXPECT_EQ(harness.reader().callNames(), QStringList({"rf_close_com", "rf_init_com"}));
    EXPECT_EQ(memoWhenOpening, "Error: Connect failed");
    EXPECT_EQ(harness.sounds(), 1);
    EXPECT_EQ(harness.memo(), "Connect successful");
    EXPECT_TRUE(PortOpen);
    EXPECT_EQ(harness.logLines(), QStringList({"rf_init_com 0"}));
    const QString shownPort = infoBarValue(1180);
    EXPECT_FALSE(shownPort.isEmpty());

    // A failed reconnect leaves the port closed and does not show the port it tried.
    choose(1051, "COM6");
    harness.reader().clearCalls();
    harness.reader().scriptStatus(QStringLiteral("rf_init_com"), 0x1f);
    click(1053);
    EXPECT_EQ(harness.reader().callNames(), QStringList({"rf_close_com", "rf_init_com", "rf_close_com"}));
    EXPECT_FALSE(PortOpen);
    EXPECT_EQ(harness.memo(), "Error: 1f ,function: rf_init_com");
    EXPECT_EQ(harness.sounds(), 3);
    EXPECT_EQ(infoBarValue(1180), shownPort);
}

TEST_F(PortSetPageTest, GetShowsModelVersionAndSupportedCardsAndAFailureKeepsWhatWasRead)
{
    openPage();
    harness.reader().setDefault(QStringLiteral("lib_ver"), {0, {}, -1, 12});
    showModel("ZT-SIF-R2");

    EXPECT_EQ(harness.reader().callNames(), QStringList({"rf_get_model", "lib_ver"}));
    EXPECT_EQ(text(1056), "ZT-SIF-R2");
    EXPECT_EQ(text(1058), "12.0");
    EXPECT_EQ(checkedCards(), AllCards);
    EXPECT_EQ(harness.memo(), "OK");
    EXPECT_EQ(harness.logLines(), QStringList({"rf_get_model 0", "lib_ver 0"}));

    // A failed model read stops before the version and keeps the fields.
    harness.reader().clearCalls();
    harness.reader().scriptStatus(QStringLiteral("rf_get_model"), 0x0a);
    click(1066);
    EXPECT_EQ(harness.reader().callNames(), QStringList({"rf_get_model"}));
    EXPECT_EQ(harness.memo(), "Error: a ,function: rf_get_model");
    EXPECT_EQ(text(1056), "ZT-SIF-R2");
    EXPECT_EQ(text(1058), "12.0");
    EXPECT_EQ(checkedCards(), AllCards);

    // A failed version read still shows the model, and the version field keeps what it showed.
    harness.reader().scriptStatus(QStringLiteral("lib_ver"), 2);
    showModel("ZT-SIB");
    EXPECT_EQ(text(1056), "ZT-SIB");
    EXPECT_EQ(checkedCards(), AllCards.mid(6, 4));
    EXPECT_EQ(text(1058), "12.0");
    EXPECT_EQ(harness.memo(), "Error: 2 ,function: lib_ver");
    EXPECT_EQ(harness.logLines(), QStringList({"rf_get_model 0", "lib_ver 2"}));
}

TEST_F(PortSetPageTest, TheSixthCharacterOfTheModelSelectsTheSupportedCards)
{
    const QStringList typeA = AllCards.mid(0, 6);
    const QStringList typeB = AllCards.mid(6, 4);
    const QStringList iso15693 = AllCards.mid(10, 4);
    const struct {
        const char *model;
        QStringList cards;
    } cases[] = {
        {"ZT-SIA", typeA}, {"ZT-SIG", typeA}, {"ZT-SIB", typeB}, {"ZT-SID", iso15693},
        {"ZT-SIE", typeA + typeB}, {"ZT-SIH", typeA + typeB}, {"ZT-SIF", AllCards},
        {"ZT-SII", AllCards}, {"ZT-SIi", AllCards}, {"ZT-SIL-R2", AllCards.mid(0, 4)},
        {"ZT-SIf", {}}, {"ZT-SIC", {}}, {"ZT-SI", {}},
    };
    openPage();
    for (const auto &row : cases) {
        // Start from every box checked so that clearing shows too.
        SCOPED_TRACE(row.model);
        showModel("ZT-SIF");
        showModel(row.model);
        EXPECT_EQ(checkedCards(), row.cards);
    }
    // The model text ends at the returned length.
    harness.reader().script(QStringLiteral("rf_get_model"), {0, "ZT-SIF-LONG", 4, 0});
    click(1066);

    EXPECT_EQ(text(1056), "ZT-S");
    EXPECT_TRUE(checkedCards().isEmpty());
}

TEST_F(PortSetPageTest, TheCardBoxesIgnoreTheOperatorsMouseAndKeys)
{
    // On the box itself: a click beside a short caption would miss the button anyway.
    const auto indicator = [](QWidget *box) { return QPoint(6, box->height() / 2); };
    openPage();
    showModel("ZT-SIL");
    m_page->show();
    for (int id : {1213, 1220}) {
        QAbstractButton *box = m_page->button(id);
        box->show();
        const bool before = box->isChecked();
        QTest::mouseClick(box, Qt::LeftButton, {}, indicator(box));
        QTest::mouseDClick(box, Qt::LeftButton, {}, indicator(box));
        QTest::keyClick(box, Qt::Key_Space);
        EXPECT_EQ(box->isChecked(), before) << "box " << id;
    }
    // The same clicks and key do reach and toggle an ordinary check box in the same place.
    QCheckBox ordinary(QStringLiteral("ordinary"), m_page.get());
    ordinary.setGeometry(m_page->button(1213)->geometry());
    ordinary.show();
    QTest::mouseClick(&ordinary, Qt::LeftButton, {}, indicator(&ordinary));
    EXPECT_TRUE(ordinary.isChecked());
    QTest::keyClick(&ordinary, Qt::Key_Space);
    EXPECT_FALSE(ordinary.isChecked());
}

TEST_F(PortSetPageTest, TheDeviceNumberIsReadAndWrittenLowByteFirstAndOnlyWhenTwoBytesLong)
{
    openPage();
    for (const char *typed : {"", "1", "12"}) {
        harness.infoBar().showMemo(QStringLiteral("before"));
        setText(1059, QString::fromLatin1(typed));
        click(1064);
        EXPECT_EQ(harness.memo(), "before") << typed;
    }
    ASSERT_EQ(harness.messageBoxes().size(), 3u);
    EXPECT_EQ(harness.messageBoxes()[0].text, "Input 2 byte in DeveicID text please!");
    EXPECT_EQ(harness.messageBoxes()[0].caption, "Error");
    EXPECT_EQ(harness.messageBoxes()[0].icon, MessageIcon::Error);
    EXPECT_TRUE(harness.reader().calls().empty());
    EXPECT_TRUE(harness.logLines().isEmpty());
    EXPECT_EQ(harness.sounds(), 0);

    harness.reader().script(QStringLiteral("rf_get_device_number"), {0, QByteArray::fromHex("a05b"), -1, 0});
    click(1063);
    EXPECT_EQ(text(1059), "A05B");
    EXPECT_EQ(harness.memo(), "OK");
    EXPECT_EQ(harness.logLines(), QStringList({"rf_get_device_number 0"}));

    harness.reader().scriptStatus(QStringLiteral("rf_get_device_number"), 3);
    click(1063);
    EXPECT_EQ(text(1059), "A05B");
    EXPECT_EQ(harness.memo(), "Error: 3 ,function: rf_get_device_number");

    harness.reader().clearCalls();
    setText(1059, "123");
    click(1064);
    ASSERT_EQ(harness.reader().callNames(), QStringList({"rf_init_device_number"}));
    EXPECT_EQ(harness.reader().calls()[0].args, (std::vector<int64_t>{0x0312}));
    EXPECT_EQ(harness.memo(), "OK");
    EXPECT_EQ(harness.logLines(), QStringList({"rf_init_device_number 0"}));

    // The field takes two bytes and no more.
    setText(1059, "abcdef");
    EXPECT_EQ(text(1059), "abcd");
}

TEST_F(PortSetPageTest, TheBeeperSoundsForTheTypedTensOfMilliseconds)
{
    openPage();
    setText(1060, "0A");
    EXPECT_EQ(text(1060), "0a");
    click(1067);
    ASSERT_EQ(harness.reader().callNames(), QStringList({"rf_beep"}));
    EXPECT_EQ(harness.reader().calls()[0].args, (std::vector<int64_t>{10}));
    EXPECT_EQ(harness.memo(), "OK");
    EXPECT_EQ(harness.logLines(), QStringList({"rf_beep 0"}));

    harness.reader().scriptStatus(QStringLiteral("rf_beep"), 4);
    click(1067);
    EXPECT_EQ(harness.memo(), "Error: 4 ,function: rf_beep");

    // One byte at most.
    setText(1060, "123");
    EXPECT_EQ(text(1060), "12");
    // An empty field reports success without calling the reader.
    setText(1060, "");
    harness.reader().clearCalls();
    harness.infoBar().showMemo(QStringLiteral("before"));
    click(1067);
    EXPECT_TRUE(harness.reader().calls().empty());
    EXPECT_EQ(harness.memo(), "OK");
    EXPECT_TRUE(harness.logLines().isEmpty());
}

TEST_F(PortSetPageTest, TheAntennaAndTheLightFollowTheChosenOptions)
{
    openPage();
    click(1069);
    click(1071);
    click(1069);
    click(1070);
    harness.reader().scriptStatus(QStringLiteral("rf_antenna_sta"), 0x20);
    click(1069);

    EXPECT_EQ(firstArguments(QStringLiteral("rf_antenna_sta")), (std::vector<int64_t>{1, 0, 1}));
    EXPECT_EQ(harness.memo(), "Error: 20 ,function: rf_antenna_sta");
    EXPECT_EQ(harness.logLines(), QStringList({"rf_antenna_sta 20"}));

    // The light takes the value of the chosen colour.
    for (const char *colour : {"yellow", "red", "green", "Off"}) {
        choose(1054, QString::fromLatin1(colour));
        click(1068);
        EXPECT_EQ(harness.memo(), "OK");
    }
    EXPECT_EQ(firstArguments(QStringLiteral("rf_light")), (std::vector<int64_t>{3, 1, 2, 0}));
    EXPECT_EQ(harness.logLines(), QStringList({"rf_light 0"}));
}

TEST_F(PortSetPageTest, ReadingTheClockSetsDateTimeAndWeekDayEvenWithThePortClosedAndRefusesNoDates)
{
    PortOpen = false;
    openPage();
    harness.reader().script(QStringLiteral("ReadTime"), {0, QByteArray::fromHex("24022904235958"), -1, 0});
    click(1186);

    EXPECT_EQ(clockDate(), QDate(2024, 2, 29));
    EXPECT_EQ(clockTime(), QTime(23, 59, 58));
    // The reader's week day, under the Chinese caption whatever the language.
    EXPECT_EQ(text(1191), "星期 4 ");
    EXPECT_EQ(harness.logLines(), QStringList({"ReadTime 0"}));
    EXPECT_EQ(harness.memo(), "");

    // The two-digit year belongs to the century it names.
    const struct {
        const char *clock;
        int year;
    } rows[] = {{"51010101000000", 1951}, {"50010101000000", 2050}, {"99123105000000", 1999},
                {"00010106000000", 2000}, {"49010101000000", 2049}};
    for (const auto &row : rows) {
        harness.reader().script(QStringLiteral("ReadTime"), {0, QByteArray::fromHex(row.clock), -1, 0});
        click(1186);
        EXPECT_EQ(clockDate().year(), row.year) << row.clock;
    }

    // An answer that is no date leaves the pickers and fails.
    const QDate date(2030, 5, 6);
    const QTime time(7, 8, 9);
    m_page->control<QDateEdit>(1188)->setDate(date);
    m_page->control<QTimeEdit>(1190)->setTime(time);

    const FakeReader::Answer answers[] = {
        {0, QByteArray::fromHex("2402290423"), -1, 0},     // short
        {0, QByteArray::fromHex("24130104235958"), -1, 0}, // month 13
        {0, QByteArray::fromHex("24023004235958"), -1, 0}, // 30 February
        {0, QByteArray::fromHex("2A020104235958"), -1, 0}, // not decimal
        {0, QByteArray::fromHex("24020104245958"), -1, 0}, // hour 24
    };
    int sounds = 0;
    for (const auto &answer : answers) {
        harness.reader().script(QStringLiteral("ReadTime"), answer);
        click(1186);
        EXPECT_EQ(harness.memo(), "Error: 0 ,function: ReadTime") << answer.data.toHex().toStdString();
        EXPECT_EQ(harness.sounds(), ++sounds);
    }
    harness.reader().scriptStatus(QStringLiteral("ReadTime"), 0x15);
    click(1186);
    EXPECT_EQ(harness.memo(), "Error: 15 ,function: ReadTime");
    EXPECT_EQ(clockDate(), date);
    EXPECT_EQ(clockTime(), time);
}

TEST_F(PortSetPageTest, WritingTheClockSendsTheChosenDateAndTimeInBcd)
{
    PortOpen = false;
    openPage();
    harness.infoBar().showMemo(QStringLiteral("before"));
    m_page->control<QDateEdit>(1188)->setDate(QDate(2024, 2, 29));
    m_page->control<QTimeEdit>(1190)->setTime(QTime(23, 59, 58));
    click(1187);

    ASSERT_EQ(harness.reader().callNames(), QStringList({"WriteTime"}));
    EXPECT_EQ(harness.reader().calls()[0].data.toHex(), "24022904235958");
    EXPECT_EQ(harness.logLines(), QStringList({"WriteTime 0"}));
    EXPECT_EQ(harness.memo(), "before");

    m_page->control<QDateEdit>(1188)->setDate(QDate(1999, 12, 5));
    harness.reader().scriptStatus(QStringLiteral("WriteTime"), 6);
    click(1187);
    EXPECT_EQ(harness.reader().calls()[1].data.toHex(), "99120507235958");
    EXPECT_EQ(harness.memo(), "Error: 6 ,function: WriteTime");
    // Changing the date shows its week day.
    m_page->control<QDateEdit>(1188)->setDate(QDate(2024, 3, 3));
    EXPECT_EQ(text(1191), "week 7 ");
    m_page->control<QDateEdit>(1188)->setDate(QDate(2024, 3, 4));
    EXPECT_EQ(text(1191), "week 1 ");
    m_page->control<QTimeEdit>(1190)->setTime(QTime(1, 2, 3));
    EXPECT_EQ(text(1191), "week 1 ");
}

} // namespace
