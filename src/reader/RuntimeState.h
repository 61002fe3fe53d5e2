#pragma once

#include "base/CardTypes.h"
#include "base/LanguageText.h"

#include <array>

// Process-wide values of the running program, read and written on the user-interface thread.

// Index of the shown page's card type (0 to 27), or PortPageCardType.
extern int CardType;
// Serial port number passed to rf_init_com; the port page offers 1 to 8.
extern int ComPort;
// Index into BaudRateTable.
extern int BaudRate;
// Index of the chosen background bitmap (0 to 31).
extern int CurBitmap;
// The reader port is open.
extern bool PortOpen;
// "Choose Card" offers every card page the program has, not only this build's menu.
extern bool AllCardsInMenu;

inline constexpr std::array<int, 7> BaudRateTable = {9600, 14400, 19200, 28800, 38400, 57600, 115200};

// The rate in bits per second for BaudRate; an index outside the table gives the default rate.
int CurrentBaudRate();

// Puts every value back to what it is before the settings are read.
void ResetRuntimeState();
