#pragma once

#include <QLineEdit>

#include <cstdint>

// The decimal value field of the purse: typed letters are ignored; the field reads as -1 when
// empty, otherwise as the decimal number its text starts with (leading blanks and one sign
// allowed, no digits reads 0).
class CDecEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit CDecEdit(QWidget *parent = nullptr);

    int32_t value() const;
    // Shows the value with "%d".
    void setValue(int32_t value);

    // The conversion of a text as the field reads it; numbers beyond the signed 32-bit range
    // are clamped to it.
    static int32_t parse(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
