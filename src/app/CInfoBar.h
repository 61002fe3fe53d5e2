#pragma once

#include "base/CardTypes.h"

#include <QWidget>

class QLabel;

// The information bar along the bottom of the main frame: port, rate, card type and the Memo
// field that shows the last report. The value fields are the controls id1180 to id1183.
class CInfoBar : public QWidget
{
    Q_OBJECT
public:
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
