#include "pages/CPortSetPage.h"

#include "pages/CardAnswers.h"
#include "reporting/MessageCatalogue.h"
#include "reporting/ReaderConnection.h"
#include "reporting/ReaderOperation.h"
#include "reporting/Reporting.h"
#include "reporting/UserPrompts.h"
#include "controls/CHexEdit.h"
#include "reader/RuntimeState.h"

#include <QAbstractButton>
#include <QDate>
#include <QDateEdit>
#include <QEvent>
#include <QLabel>
#include <QTime>
#include <QTimeEdit>

#include <array>

namespace {

using enum ReaderFunction;
using enum CPortSetPage::ControlId;

constexpr int PortCount = 8;
constexpr uint16_t Device = 0;
// The clock travels as 7 BCD bytes: year in the century, month, day, week day, hour, minute, second.
constexpr int ClockBytes = 7;

const DialogTemplate &portSetTemplate()
{
    constexpr auto L = ControlKind::Label;
    constexpr auto B = ControlKind::Button;
    constexpr auto G = ControlKind::GroupBox;
    constexpr auto C = ControlKind::CheckBox;
    constexpr auto H = ControlKind::HexEdit;
    constexpr auto D = ControlKind::DropList;
    constexpr auto R = ControlKind::RadioButton;
    constexpr int N = UnaddressedControlId;

    // Two columns of groups; the clock and the supported-card boxes are kept in the template but
    // hidden in this build.
    static const DialogTemplate dialog{135, 400, 230, {
        {PortGroup, G, 7, 7, 190, 48, {"端口设置", "Port Setting"}},
        {PortLabel, L, 15, 20, 36, 8, {"端口值", "Port"}},
        {PortList, D, 55, 18, 80, 90, ""},
        {BaudLabel, L, 15, 36, 36, 8, {"波特率", "Baud"}},
        {BaudList, D, 55, 34, 80, 90, ""},
        {ConnectButton, B, 141, 25, 48, 14, {"连接", "Connect"}},

        {InformationGroup, G, 7, 61, 190, 48, {"产品信息", "Information"}},
        {ModelLabel, L, 15, 74, 36, 8, {"产品序号", "Model"}},
        {ModelField, H, 55, 72, 134, 12, "", Locked},
        {VersionLabel, L, 15, 90, 36, 8, {"DLL版本", "DLL Ver"}},
        {VersionField, H, 55, 88, 80, 12, "", Locked},
        {GetButton, B, 141, 87, 48, 14, {"读取", "Get"}},

        {LightGroup, G, 7, 115, 190, 30, {"设置指示灯颜色", "Light"}},
        {ColourLabel, L, 15, 129, 36, 8, {"颜色", "Color"}},
        {ColourList, D, 55, 127, 80, 60, ""},
        {LightButton, B, 141, 125, 48, 14, {"执行", "Send"}},

        {DeviceNumberGroup, G, 203, 7, 190, 30, {"设备标记", "Icdeve"}},
        {DeviceNumberField, H, 211, 20, 50, 12, ""},
        {DeviceNumberRead, B, 283, 19, 48, 14, {"读取", "Read"}, Hidden},
        {DeviceNumberWrite, B, 337, 19, 48, 14, {"写入", "Write"}, Hidden},

        {BeepGroup, G, 203, 43, 190, 30, {"设置蜂鸣时间", "Beep"}},
        {BeepField, H, 211, 56, 30, 12, ""},
        {N, L, 245, 58, 40, 8, "X 10ms"},
        {BeepButton, B, 337, 55, 48, 14, {"执行", "Send"}},

        {AntennaGroup, G, 203, 79, 190, 30, {"设置天线状态", "Antenna"}},
        {AntennaOn, R, 211, 93, 40, 10, {"开", "On"}, GroupStart},
        {AntennaOff, R, 255, 93, 40, 10, {"关", "Off"}},
        {AntennaButton, B, 337, 91, 48, 14, {"执行", "Send"}},

        {ClockGroup, G, 203, 115, 190, 46, {"时钟操作", "RTC"}, Hidden},
        {ClockDate, ControlKind::DatePicker, 211, 128, 70, 12, "", Hidden},
        {ClockTime, ControlKind::TimePicker, 285, 128, 60, 12, "", Hidden},
        {WeekDayText, L, 211, 146, 60, 8, "", Hidden},
        {ClockRead, B, 285, 143, 48, 14, {"读取", "Read"}, Hidden},
        {ClockWrite, B, 337, 143, 48, 14, {"设置", "Write"}, Hidden},

        {SupportGroup, G, 7, 167, 386, 56, {"可支持的卡", "Support Card"}, Hidden},
        {FirstSupportBox + 0, C, 15, 180, 88, 9, "SHC1102", Hidden},
        {FirstSupportBox + 1, C, 106, 180, 96, 9, "Mifare_UltraLight", Hidden},
        {FirstSupportBox + 2, C, 205, 180, 90, 9, "Mifare_Std S50", Hidden},
        {FirstSupportBox + 3, C, 300, 180, 90, 9, "Mifare_Std S70", Hidden},
        {FirstSupportBox + 4, C, 15, 190, 88, 9, "Mifare_DESFire", Hidden},
        {FirstSupportBox + 5, C, 106, 190, 96, 9, "Mifare_Pro(X)", Hidden},
        {FirstSupportBox + 6, C, 205, 190, 90, 9, "SR176", Hidden},
        {FirstSupportBox + 7, C, 300, 190, 90, 9, "SRIX4K", Hidden},
        {FirstSupportBox + 8, C, 15, 200, 88, 9, "AT88RF020", Hidden},
        {FirstSupportBox + 9, C, 106, 200, 96, 9, "SmartCard(ISO14443B)", Hidden},
        {FirstSupportBox + 10, C, 205, 200, 90, 9, "I.CODE SLI", Hidden},
        {FirstSupportBox + 11, C, 300, 200, 90, 9, "Tag_it", Hidden},
        {FirstSupportBox + 12, C, 15, 210, 88, 9, "SRF55V02P", Hidden},
        {FirstSupportBox + 13, C, 106, 210, 96, 9, "SRF55V10P", Hidden},
    }};
    return dialog;
}

// Which supported-card boxes a model kind (the sixth character of the model text) checks, one
// bit per box in id order: bit 0 is SHC1102, bit 13 SRF55V10P.
uint16_t supportedCards(char modelKind)
{
    constexpr uint16_t typeA = 0x003F;   // SHC1102 to Mifare_Pro(X)
    constexpr uint16_t typeB = 0x03C0;   // SR176, SRIX4K, AT88RF020, SmartCard(ISO14443B)
    constexpr uint16_t iso15693 = 0x3C00; // I.CODE SLI, Tag_it, SRF55V02P, SRF55V10P
    constexpr uint16_t shcAndMifare = 0x000F;
    switch (modelKind) {
    case 'A':
    case 'G':
        return typeA;
    case 'B':
        return typeB;
    case 'D':
        return iso15693;
    case 'E':
    case 'H':
        return typeA | typeB;
    case 'F':
    case 'I':
    case 'i':
        return typeA | typeB | iso15693;
    case 'L':
        return shcAndMifare;
    default:
        return 0;
    }
}

uint8_t toBcd(int value)
{
    return uint8_t((value / 10 % 10) << 4 | value % 10);
}

} // namespace

CPortSetPage::CPortSetPage(QWidget *parent)
    : CCardPage(portSetTemplate(), parent)
{
    fillLists();
    button(AntennaOn)->setChecked(true);
    hexEdit(BeepField)->SetMaxBytes(1);
    hexEdit(DeviceNumberField)->SetMaxBytes(2);

    auto *date = control<QDateEdit>(ClockDate);
    date->setDate(QDate::currentDate());
    control<QTimeEdit>(ClockTime)->setTime(QTime::currentTime());
    showWeekDay(date->date());

    for (int group = PortGroup; group <= AntennaGroup; ++group)
        addCaptionFrame(group);
    makeSupportBoxesDisplayOnly();

    onSelectionChanged(PortList, [this] { storePortChoice(); });
    onSelectionChanged(BaudList, [this] { storePortChoice(); });
    onClicked(ConnectButton, [this] { connectPort(); });
    onClicked(GetButton, [this] { getModel(); });
    onClicked(DeviceNumberRead, [this] { readDeviceNumber(); });
    onClicked(DeviceNumberWrite, [this] { writeDeviceNumber(); });
    onClicked(BeepButton, [this] { sendBeep(); });
    onClicked(AntennaButton, [this] { sendAntenna(); });
    onClicked(LightButton, [this] { sendLight(); });
    onClicked(ClockRead, [this] { readClock(); });
    onClicked(ClockWrite, [this] { writeClock(); });
    connect(date, &QDateEdit::dateChanged, this, [this](const QDate &changed) { showWeekDay(changed); });

    setContentHeight(height());
}

void CPortSetPage::fillLists()
{
    for (int port = 1; port <= PortCount; ++port)
        addListItem(PortList, QStringLiteral("COM%1").arg(port), port);
    selectListIndex(PortList, ComPort >= 1 && ComPort <= PortCount ? ComPort - 1 : -1);

    for (std::size_t index = 0; index < BaudRateTable.size(); ++index)
        addListItem(BaudList, QString::number(BaudRateTable[index]), int(index));
    selectListIndex(BaudList, BaudRate);

    const std::array<const char *, 4> colours = {"Off", "red", "green", "yellow"};
    for (std::size_t value = 0; value < colours.size(); ++value)
        addListItem(ColourList, QString::fromLatin1(colours[value]), int(value));
    selectListIndex(ColourList, 0);
}

void CPortSetPage::makeSupportBoxesDisplayOnly()
{
    for (int i = 0; i < SupportBoxCount; ++i) {
        QAbstractButton *box = button(FirstSupportBox + i);
        box->setFocusPolicy(Qt::NoFocus);
        box->installEventFilter(this);
    }
}

bool CPortSetPage::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
        return true;
    default:
        return CCardPage::eventFilter(watched, event);
    }
}

void CPortSetPage::storePortChoice()
{
    ComPort = selectedItemData(PortList);
    BaudRate = selectedItemData(BaudList);
}

void CPortSetPage::connectPort()
{
    ConnectReader(ConnectPlace::PortPage);
}

void CPortSetPage::getModel()
{
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;

    AnswerBuffer model{};
    uint8_t length = 0;
    if (!op.call<rf_get_model>(Device, model.data(), &length))
        return;
    // The text ends at the returned length, or earlier at a terminating zero.
    const QByteArray text = DecodeModelText({model.data(), length});
    hexEdit(ModelField)->setText(QString::fromLatin1(text));
    showSupportedCards(text.size() > 5 ? text.at(5) : '\0');

    uint32_t version = 0;
    if (!op.call<lib_ver>(&version))
        return;
    hexEdit(VersionField)->setText(QStringLiteral("%1.0").arg(int32_t(version)));
    op.succeed(Message(Msg::ProductInformationRead));
}

void CPortSetPage::showSupportedCards(char modelKind)
{
    const uint16_t boxes = supportedCards(modelKind);
    for (int i = 0; i < SupportBoxCount; ++i)
        button(FirstSupportBox + i)->setChecked((boxes >> i & 1) != 0);
}

void CPortSetPage::readDeviceNumber()
{
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    std::array<uint8_t, 2> number{};
    if (!op.call<rf_get_device_number>(number.data()))
        return;
    hexEdit(DeviceNumberField)->SetHexBytes(number.data(), int(number.size()));
    op.succeed(Message(Msg::DeviceNumberRead));
}

void CPortSetPage::writeDeviceNumber()
{
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    const QByteArray number = hexEdit(DeviceNumberField)->GetHexBytes();
    if (number.size() != 2) {
        ShowMessageBox(this, Message(Msg::DeviceNumberNeedsTwoBytes), QStringLiteral("Error"), MessageIcon::Error);
        return;
    }
    // The first byte is the low one.
    const auto value = uint16_t(uint8_t(number.at(0)) | uint8_t(number.at(1)) << 8);
    if (!op.call<rf_init_device_number>(value))
        return;
    op.succeed(Message(Msg::DeviceNumberWritten));
}

void CPortSetPage::sendBeep()
{
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    // An empty field sounds nothing and still reports success.
    const QByteArray duration = hexEdit(BeepField)->GetHexBytes();
    if (!duration.isEmpty() && !op.call<rf_beep>(Device, uint8_t(duration.at(0))))
        return;
    op.succeed(Message(Msg::BeepSet));
}

void CPortSetPage::sendAntenna()
{
    const bool on = button(AntennaOn)->isChecked();
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    if (!op.call<rf_antenna_sta>(Device, on ? 1 : 0))
        return;
    op.succeed(Message(Msg::AntennaSet));
}

void CPortSetPage::sendLight()
{
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    const auto colour = uint8_t(selectedItemData(ColourList));
    if (!op.call<rf_light>(Device, colour))
        return;
    op.succeed(Message(Msg::LightSet));
}

// The clock operations work whether or not the port is open, and report only failures.
void CPortSetPage::readClock()
{
    ReaderOperation op;
    AnswerBuffer clock{};
    uint8_t length = 0;
    if (!op.call<ReadTime>(Device, clock.data(), &length))
        return;

    const std::optional<ClockReading> reading = DecodeClock({clock.data(), length});
    // A short answer, one longer than the 7-byte clock, or one that is no date leaves the
    // pickers as they are: the reader failed.
    if (!reading) {
        op.reportWrongAnswer<ReadTime>();
        return;
    }
    control<QDateEdit>(ClockDate)->setDate(reading->date);
    control<QTimeEdit>(ClockTime)->setTime(reading->time);
    // The reader's own week day, under this caption in both languages.
    label(WeekDayText)->setText(QString::fromUtf8("星期 %1 ").arg(reading->weekDay));
}

void CPortSetPage::writeClock()
{
    const QDate date = control<QDateEdit>(ClockDate)->date();
    const QTime time = control<QTimeEdit>(ClockTime)->time();
    const std::array<uint8_t, ClockBytes> clock = {
        toBcd(date.year() % 100), toBcd(date.month()), toBcd(date.day()), toBcd(date.dayOfWeek()),
        toBcd(time.hour()), toBcd(time.minute()), toBcd(time.second()),
    };
    ReaderOperation op;
    op.call<WriteTime>(Device, clock.data());
}

void CPortSetPage::showWeekDay(const QDate &date)
{
    label(WeekDayText)->setText(Message(Msg::WeekDay, date.dayOfWeek()));
}
