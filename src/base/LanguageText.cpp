#include "base/LanguageText.h"


#ifndef VORNEX_LANGUAGE_INDEX
#define VORNEX_LANGUAGE_INDEX 1
#endif

int LanguageIndex = VORNEX_LANGUAGE_INDEX;

int BuildLanguageIndex()
{
    return VORNEX_LANGUAGE_INDEX;
}

QString Tr(const LanguageText &text)
{
    return QString::fromUtf8(LanguageIndex == 0 ? text.chinese : text.english);
}
