#pragma once

#include <QString>

// 0 = Chinese, 1 = English; fixed when the program is built (tests may switch it).
extern int LanguageIndex;
// The language the program was built for.
int BuildLanguageIndex();

// One text in both languages, as the label tables, the templates and the catalogue hold them
// (UTF-8). A text that is the same in both languages (a number, "SN") is written once.
struct LanguageText {
    const char *chinese = "";
    const char *english = "";

    constexpr LanguageText() = default;
    constexpr LanguageText(const char *both)
        : chinese(both != nullptr ? both : "")
        , english(both != nullptr ? both : "")
    {
    }
    constexpr LanguageText(const char *chineseText, const char *englishText)
        : chinese(chineseText)
        , english(englishText)
    {
    }
};

// The text in the language the program was built for (LanguageIndex).
QString Tr(const LanguageText &text);
