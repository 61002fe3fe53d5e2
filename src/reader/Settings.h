#pragma once

#include <QString>

// The four values that survive a restart: CurCard (CardType), ComPort, BaudRate (index) and
// CurBitmap, in the settings key "IORFCard"; beside them a fifth, AllCards (AllCardsInMenu),
// which the four do not depend on.
inline constexpr const char *SettingsKeyName = "IORFCard";

// Reads the values into the run-time state. A missing key gives CardType 1 and ComPort 0;
// a missing or wrongly typed value gives its default (AllCards: off). Values that would index
// outside a table are brought back into range. False when there is no key yet: a first start.
bool ReadSettings();

// Writes the five values; a key that cannot be opened or created is silently not written.
void WriteSettings();
