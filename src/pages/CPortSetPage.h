#pragma once

#include "pages/CCardPage.h"

#include <cstdint>

class QDate;

// The port and device page ("Port Set"): port and speed, connect, model and library version,
// beeper, antenna, indicator light, and the hidden device-number and clock operations.
class CPortSetPage : public CCardPage
{
    Q_OBJECT
public:
    // The page's controls.
    enum ControlId : int {
        PortGroup = 1097,
        InformationGroup = 1098,
        LightGroup = 1099,
        DeviceNumberGroup = 1100,
        BeepGroup = 1101,
        AntennaGroup = 1102,
        ClockGroup = 1103,
        SupportGroup = 1104,

        PortLabel = 1227,
        PortList = 1051,
        BaudLabel = 1228,
        BaudList = 1052,
        ConnectButton = 1053,

        ModelLabel = 1229,
        ModelField = 1056,
        VersionLabel = 1230,
        VersionField = 1058,
        GetButton = 1066,

        ColourLabel = 1197,
        ColourList = 1054,
        LightButton = 1068,

        DeviceNumberField = 1059,
        DeviceNumberRead = 1063,
        DeviceNumberWrite = 1064,

        BeepField = 1060,
        BeepButton = 1067,

        AntennaOn = 1070,
        AntennaOff = 1071,
        AntennaButton = 1069,

        ClockDate = 1188,
        ClockTime = 1190,
        WeekDayText = 1191,
        ClockRead = 1186,
        ClockWrite = 1187,

        FirstSupportBox = 1213,
    };
    // The supported-card boxes: FirstSupportBox + i.
    static constexpr int SupportBoxCount = 14;

    explicit CPortSetPage(QWidget *parent = nullptr);

protected:
    // Keeps mouse and keys away from the supported-card boxes, which only display.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillLists();
    void makeSupportBoxesDisplayOnly();

    void storePortChoice();
    void connectPort();
    void getModel();
    void readDeviceNumber();
    void writeDeviceNumber();
    void sendBeep();
    void sendAntenna();
    void sendLight();
    void readClock();
    void writeClock();

    // Checks the supported-card boxes that the model text's sixth character names.
    void showSupportedCards(char modelKind);
    void showWeekDay(const QDate &date);
};
