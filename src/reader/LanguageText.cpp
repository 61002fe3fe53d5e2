#include "reader/LanguageText.h"

#include "reader/RuntimeState.h"

QString Tr(const LanguageText &text)
{
    return QString::fromUtf8(LanguageIndex == 0 ? text.chinese : text.english);
}
