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
