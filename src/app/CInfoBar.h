#pragma once

#include "base/CardTypes.h"

#include <QWidget>

class QLabel;

// The information bar along the bottom of the main frame: port, rate, card type and the Memo
// field that shows the last report.
class CInfoBar : public QWidget
{
    Q_OBJECT
public:
    // The bar's controls: a label before each value.
    enum ControlId : int {
        PortValue = 1180,
        BaudValue = 1181,
        CardTypeValue = 1182,
        MemoValue = 1183,
        PortLabel = 1227,
        BaudLabel = 1228,
        CardTypeLabel = 1231,
        MemoLabel = 1232,
    };

    explicit CInfoBar(QWidget *parent = nullptr);

    void showPort(int port);
    void showBaud(int bitsPerSecond);
    void showCardType(CardKind kind);
    void showMemo(const QString &text);

    QString memoText() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_port = nullptr;
    QLabel *m_baud = nullptr;
    QLabel *m_cardType = nullptr;
    QLabel *m_memo = nullptr;
};
