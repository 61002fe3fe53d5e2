#pragma once

#include <QString>

// The four values that survive a restart: CurCard (CardType), ComPort, BaudRate (index) and
// CurBitmap, in the settings key "IORFCard".
inline constexpr const char *SettingsKeyName = "IORFCard";

// Reads the four values into the run-time state. A missing key gives CardType 1 and ComPort 0;
// a missing or wrongly typed value gives its default. Values that would index outside a table
// are brought back into range.
void ReadSettings();

// Writes the four values; a key that cannot be opened or created is silently not written.
void WriteSettings();
