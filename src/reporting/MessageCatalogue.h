#pragma once

#include <QString>

// The program's messages in both languages, cited by number by every page.
inline constexpr int MessageCount = 69;

// Message `number` in the current language; empty for a number outside the catalogue.
QString Message(int number);
// A message that is a printf-style format with one integer argument (1, 25, 47, 57).
QString Message(int number, int argument);
