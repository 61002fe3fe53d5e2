#pragma once

#include <QString>

// One text in both languages, as the label tables and the catalogue hold them (UTF-8).
struct LanguageText {
    const char *chinese;
    const char *english;
};

// The text in the language the program was built for (LanguageIndex).
QString Tr(const LanguageText &text);
