#include "controls/CDecEdit.h"

#include <QKeyEvent>

#include <limits>

CDecEdit::CDecEdit(QWidget *parent)
    : QLineEdit(parent)
{
}

int32_t CDecEdit::parse(const QString &text)
{
    if (text.isEmpty())
        return -1;
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    int64_t magnitude = 0;
    for (; i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i) {
        magnitude = magnitude * 10 + (text.at(i).unicode() - u'0');
        // Past the 32-bit range the value stays clamped; keep the sum from overflowing.
        if (magnitude > int64_t(std::numeric_limits<int32_t>::max()) + 1)
            magnitude = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    return int32_t(value);
}

int32_t CDecEdit::value() const
{
    return parse(text());
}

void CDecEdit::setValue(int32_t value)
{
    setText(QString::number(value));
}

void CDecEdit::keyPressEvent(QKeyEvent *event)
{
    // Letters are ignored; everything else (digits, sign, editing keys) behaves as usual.
    const QString typed = event->text();
    if (typed.size() == 1 && event->modifiers().testFlag(Qt::ControlModifier) == false) {
        const char16_t code = typed.at(0).unicode();
        if ((code >= u'a' && code <= u'z') || (code >= u'A' && code <= u'Z')) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}
