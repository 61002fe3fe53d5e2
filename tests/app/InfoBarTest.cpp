#include "app/CInfoBar.h"
#include "app/ConnectingWindow.h"
#include "reader/RuntimeState.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include <gtest/gtest.h>

namespace {

QLabel *field(const CInfoBar &bar, int id)
{
    return bar.findChild<QLabel *>(QStringLiteral("id%1").arg(id));
}

TEST(InfoBarTest, ValueFieldsInRed)
{
    LanguageIndex = 0;
    CInfoBar chineseBar;
    LanguageIndex = 1;
    EXPECT_EQ(field(chineseBar, CInfoBar::CardTypeLabel)->text(), QStringLiteral("卡类型:"));
    CInfoBar bar;
    bar.showPort(3);
    bar.showBaud(57600);
    bar.showCardType(CardKind::MifareStdS70);
    bar.showMemo(QStringLiteral("Connect successful"));
    const QStringList expected = {"COM3", "57600", "Mifare_ Std S70", "Connect successful"};
    for (int id = CInfoBar::PortValue; id <= CInfoBar::MemoValue; ++id) {
        EXPECT_EQ(field(bar, id)->text(), expected[id - CInfoBar::PortValue]);
        EXPECT_EQ(field(bar, id)->palette().color(QPalette::WindowText), QColor(255, 0, 0)) << id;
    }
    EXPECT_EQ(field(bar, CInfoBar::MemoLabel)->palette().color(QPalette::WindowText), QColor(Qt::black));
}

TEST(ConnectingWindowTest, RedConnectingCentredOnTheScreen)
{
    ConnectingWindow window;
    EXPECT_EQ(window.text(), QStringLiteral("Connecting"));
    window.showCentred();
    QApplication::processEvents();
    const QPoint screenCentre = QGuiApplication::primaryScreen()->geometry().center();
    EXPECT_LE((window.geometry().center() - screenCentre).manhattanLength(), 2);
    const QImage image = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            red += qRed(image.pixel(x, y)) > 200 && qGreen(image.pixel(x, y)) < 60 && qBlue(image.pixel(x, y)) < 60;
    // 50-pixel text: a great many red pixels.
    EXPECT_GT(red, 500);
}

} // namespace
