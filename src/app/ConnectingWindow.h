#pragma once

#include <QWidget>

// The small pop-up shown in the middle of the screen while the start-up connection attempt
// blocks the program: the Connecting message in red 50-pixel Arial.
class ConnectingWindow : public QWidget
{
    Q_OBJECT
public:
    explicit ConnectingWindow(QWidget *parent = nullptr);

    // Shows the window centred on the screen and paints it at once: the reader call that
    // follows keeps the event loop from running.
    void showCentred();

    QString text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
};
