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

// The labels in either language, taken when the bar is built.
TEST(InfoBarTest, LabelsAndValueFields)
{
    LanguageIndex = 0;
    CInfoBar chineseBar;
    LanguageIndex = 1;
    CInfoBar bar;
    const struct {
        int id;
        const char *english, *chinese;
    } labels[] = {{1227, "Port:", "端口:"}, {1228, "Baud:", "波特率:"}, {1231, "Card type:", "卡类型:"}, {1232, "Memo:", "提示:"}};
    for (const auto &label : labels) {
        ASSERT_NE(field(bar, label.id), nullptr) << label.id;
        EXPECT_EQ(field(bar, label.id)->text(), QString::fromLatin1(label.english));
        EXPECT_EQ(field(chineseBar, label.id)->text(), QString::fromUtf8(label.chinese));
        EXPECT_EQ(field(bar, label.id)->palette().color(QPalette::WindowText), QColor(Qt::black));
    }
    for (int id = 1180; id <= 1183; ++id) {
        ASSERT_NE(field(bar, id), nullptr) << id;
        EXPECT_EQ(field(bar, id)->palette().color(QPalette::WindowText), QColor(255, 0, 0)) << id;
    }

    bar.showPort(3);
    bar.showBaud(57600);
    bar.showCardType(2);
    bar.showMemo(QStringLiteral("Connect successful"));
    EXPECT_EQ(field(bar, 1180)->text(), QStringLiteral("COM3"));
    EXPECT_EQ(field(bar, 1181)->text(), QStringLiteral("57600"));
    EXPECT_EQ(field(bar, 1182)->text(), QStringLiteral("Mifare_ Std S70"));
    EXPECT_EQ(field(bar, 1183)->text(), QStringLiteral("Connect successful"));
    EXPECT_EQ(bar.memoText(), QStringLiteral("Connect successful"));
    bar.showCardType(6);
    EXPECT_EQ(field(bar, 1182)->text(), QStringLiteral("Mifare_Pro(X) "));
}

TEST(InfoBarTest, EtchedLineAlongTheTopInsetFourPixels)
{
    CInfoBar bar;
    bar.resize(500, bar.height());
    const QImage image = bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb grey = qRgb(145, 145, 145);
    const QRgb white = qRgb(255, 255, 255);
    EXPECT_EQ(image.pixel(4, 0), grey);
    EXPECT_EQ(image.pixel(250, 0), grey);
    EXPECT_EQ(image.pixel(495, 0), grey);
    EXPECT_EQ(image.pixel(4, 1), white);
    EXPECT_EQ(image.pixel(495, 1), white);
    EXPECT_NE(image.pixel(3, 0), grey);
    EXPECT_NE(image.pixel(496, 0), grey);
    EXPECT_NE(image.pixel(250, 2), white);
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
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60)
                ++red;
        }
    }
    // 50-pixel text: a great many red pixels.
    EXPECT_GT(red, 500);
}

} // namespace
