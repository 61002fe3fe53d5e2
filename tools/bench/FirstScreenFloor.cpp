// The floor of the start-up benchmark: Vornex's first screen made straight with Qt widgets, with
// none of the program's machinery (no dialog templates, no builder, no page host): the same menu,
// the Mifare_Std S50 page's 85 controls at the places and with the texts Vornex gives them, its
// tiled background, the log pane's gradient and the information bar's eight fields, in a
// maximised window, after the same connection to the simulated reader.

#include "InProcessBench.h"

#include "app/ProgramRuns.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QResource>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include <dlfcn.h>

#include <cstdint>

namespace {

enum Kind { Label, Field, Button, List, Choice, Frame };
struct Control {
    Kind kind;
    int x, y, width, height;
    const char *text; // a list's: how many items it holds
};

// The S50 page as Vornex lays it out on the bench's screen.
constexpr Control S50Page[] = {
        {Label, 15, 15, 21, 12, "SN"},
        {Field, 39, 12, 120, 18, ""},
        {Button, 171, 11, 75, 21, "Request"},
        {Button, 252, 11, 75, 21, "ReqIDL"},
        {Button, 333, 11, 75, 21, "Halt"},
        {Frame, 11, 42, 819, 99, "Purse Function"},
        {Label, 20, 63, 42, 12, "Sector"},
        {List, 65, 60, 48, 18, "16"},
        {Label, 122, 63, 33, 12, "Block"},
        {List, 158, 60, 48, 18, "2"},
        {Choice, 218, 62, 57, 15, "KeyA"},
        {Choice, 278, 62, 57, 15, "KeyB"},
        {Label, 341, 63, 27, 12, "Key"},
        {Field, 371, 60, 108, 18, ""},
        {Label, 20, 87, 66, 12, "Value(Dec)"},
        {Field, 89, 84, 84, 18, ""},
        {Label, 182, 87, 66, 12, "Value(Hex)"},
        {Field, 251, 84, 66, 18, ""},
        {Button, 20, 111, 78, 21, "Initialize"},
        {Button, 104, 111, 78, 21, "Increment"},
        {Button, 188, 111, 78, 21, "Decrement"},
        {Button, 272, 111, 78, 21, "Balance"},
        {Frame, 11, 150, 267, 210, "Operation Window"},
        {Label, 20, 171, 39, 12, "Sector"},
        {List, 62, 168, 48, 18, "16"},
        {Label, 122, 171, 30, 12, "Block"},
        {List, 155, 168, 48, 18, "4"},
        {Choice, 20, 192, 60, 15, "KeyA"},
        {Choice, 86, 192, 60, 15, "KeyB"},
        {Label, 20, 216, 39, 12, "Key"},
        {Field, 62, 213, 108, 18, ""},
        {Label, 20, 240, 21, 12, "0"},
        {Field, 44, 237, 225, 18, ""},
        {Label, 20, 261, 21, 12, "1"},
        {Field, 44, 258, 225, 18, ""},
        {Label, 20, 282, 21, 12, "2"},
        {Field, 44, 279, 225, 18, ""},
        {Label, 20, 303, 21, 12, "3"},
        {Field, 44, 300, 80, 18, ""},
        {Field, 128, 300, 57, 18, ""},
        {Field, 189, 300, 80, 18, ""},
        {Button, 44, 327, 96, 21, "Read Sector"},
        {Button, 158, 327, 96, 21, "Write Block"},
        {Frame, 287, 150, 267, 210, "Operation Window"},
        {Label, 296, 171, 39, 12, "Sector"},
        {List, 338, 168, 48, 18, "16"},
        {Label, 398, 171, 30, 12, "Block"},
        {List, 431, 168, 48, 18, "4"},
        {Choice, 296, 192, 60, 15, "KeyA"},
        {Choice, 362, 192, 60, 15, "KeyB"},
        {Label, 296, 216, 39, 12, "Key"},
        {Field, 338, 213, 108, 18, ""},
        {Label, 296, 240, 21, 12, "0"},
        {Field, 320, 237, 225, 18, ""},
        {Label, 296, 261, 21, 12, "1"},
        {Field, 320, 258, 225, 18, ""},
        {Label, 296, 282, 21, 12, "2"},
        {Field, 320, 279, 225, 18, ""},
        {Label, 296, 303, 21, 12, "3"},
        {Field, 320, 300, 80, 18, ""},
        {Field, 404, 300, 57, 18, ""},
        {Field, 465, 300, 80, 18, ""},
        {Button, 320, 327, 96, 21, "Read Sector"},
        {Button, 434, 327, 96, 21, "Write Block"},
        {Frame, 563, 150, 267, 210, "Operation Window"},
        {Label, 572, 171, 39, 12, "Sector"},
        {List, 614, 168, 48, 18, "16"},
        {Label, 674, 171, 30, 12, "Block"},
        {List, 707, 168, 48, 18, "4"},
        {Choice, 572, 192, 60, 15, "KeyA"},
        {Choice, 638, 192, 60, 15, "KeyB"},
        {Label, 572, 216, 39, 12, "Key"},
        {Field, 614, 213, 108, 18, ""},
        {Label, 572, 240, 21, 12, "0"},
        {Field, 596, 237, 225, 18, ""},
        {Label, 572, 261, 21, 12, "1"},
        {Field, 596, 258, 225, 18, ""},
        {Label, 572, 282, 21, 12, "2"},
        {Field, 596, 279, 225, 18, ""},
        {Label, 572, 303, 21, 12, "3"},
        {Field, 596, 300, 80, 18, ""},
        {Field, 680, 300, 57, 18, ""},
        {Field, 741, 300, 80, 18, ""},
        {Button, 596, 327, 96, 21, "Read Sector"},
        {Button, 710, 327, 96, 21, "Write Block"},
};

class TiledPage : public QWidget
{
public:
    explicit TiledPage(const QImage &tile) : m_tile(tile) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        if (m_tile.isNull())
            painter.fillRect(rect(), palette().window());
        else
            painter.drawTiledPixmap(rect(), QPixmap::fromImage(m_tile));
    }

private:
    QImage m_tile;
};

// The log pane: a blue-grey gradient over its first 84 rows, white below.
class LogPane : public QWidget
{
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const int rows = std::min(84, height());
        for (int i = 0; i < rows; ++i)
            painter.fillRect(QRect(0, i, width(), 1),
                             QColor((171 + i) % 256, (188 + (67 * i) / rows) % 256, (199 + (56 * i) / rows) % 256));
        painter.fillRect(QRect(0, rows, width(), height() - rows), Qt::white);
    }
};

QWidget *makeControl(const Control &control, QWidget *page)
{
    const QString text = QString::fromLatin1(control.text);
    QWidget *widget = nullptr;
    switch (control.kind) {
    case Label: widget = new QLabel(text, page); break;
    case Field: widget = new QLineEdit(text, page); break;
    case Button: widget = new QPushButton(text, page); break;
    case Choice: widget = new QRadioButton(text, page); break;
    case Frame: widget = new QGroupBox(text, page); break;
    case List: {
        auto *list = new QComboBox(page);
        for (int item = 0; item < text.toInt(); ++item)
            list->addItem(QString::number(item));
        widget = list;
        break;
    }
    }
    widget->setGeometry(control.x, control.y, control.width, control.height);
    return widget;
}

void fillMenu(QMainWindow &window)
{
    QMenuBar *bar = window.menuBar();
    bar->addMenu(QStringLiteral("File(&F)"))->addAction(QStringLiteral("Exit(&X)"));
    QMenu *cards = bar->addMenu(QStringLiteral("Choose Card(&I)"));
    const auto group = [cards](const char *title, std::initializer_list<const char *> names) {
        QMenu *menu = cards->addMenu(QString::fromLatin1(title));
        for (const char *name : names)
            menu->addAction(QString::fromLatin1(name))->setCheckable(true);
    };
    group("ISO14443A", {"Mifare_UltraLight", "Mifare_Std S50", "Mifare_Std S70", "Mifare_Pro(X)"});
    group("ISO14443B", {"SR176", "SRIX4K", "AT88RF020"});
    group("ISO15693", {"I.CODE SLI", "Tag_it"});
    QMenu *set = bar->addMenu(QStringLiteral("Set(&P)"));
    set->addAction(QStringLiteral("Port Set"));
    set->addSeparator();
    set->addAction(QStringLiteral("Disconnect"));
    set->addAction(QStringLiteral("Connect"));
    set->addSeparator();
    set->addAction(QStringLiteral("Set background"));
    QMenu *help = bar->addMenu(QStringLiteral("Help(&H)"));
    help->addAction(QStringLiteral("Help Topic(&H)"));
    help->addAction(QStringLiteral("About Vornex(&A)..."));
}

// The connection Vornex makes at start-up: the simulated reader loaded and its port opened.
void connectToReader()
{
    const QString folder = QCoreApplication::applicationDirPath();
    void *library = dlopen(qPrintable(QDir(folder).filePath(QStringLiteral("libZentrava.so"))), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        return;
    using InitCom = int32_t (*)(int32_t, int32_t);
    if (const auto initCom = reinterpret_cast<InitCom>(dlsym(library, "Zentrava_4")))
        initCom(1, 14400);
}

} // namespace

int RunFirstScreenFloor(int argc, char **argv)
{
    QApplication application(argc, argv);
    const QString folder = QCoreApplication::applicationDirPath();
    QResource::registerResource(QDir(folder).filePath(QStringLiteral("Kelb_Paper.rcc")));
    const QImage tile(QStringLiteral(":/Kelb_Paper/201"), "BMP");

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Vornex  -  Mifare_Std S50"));
    fillMenu(window);
    auto *client = new QWidget;
    auto *layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *splitter = new QSplitter(Qt::Vertical);
    auto *view = new TiledPage(tile);
    auto *page = new TiledPage(tile);
    page->setParent(view);
    page->setGeometry(0, 0, 840, 371);
    for (const Control &control : S50Page)
        makeControl(control, page);
    splitter->addWidget(view);
    splitter->addWidget(new LogPane);
    layout->addWidget(splitter, 1);
    auto *infoBar = new QWidget;
    auto *fields = new QHBoxLayout(infoBar);
    for (const char *text : {"Port:", "COM1", "Baud:", "14400", "Card type:", "Mifare_Std S50", "Memo:", ""})
        fields->addWidget(new QLabel(QString::fromLatin1(text)));
    layout->addWidget(infoBar, 0);
    window.setCentralWidget(client);

    window.showMaximized();
    connectToReader();
    QTimer::singleShot(0, [] {
        ReportStartupReady();
        QApplication::quit();
    });
    return QApplication::exec();
}
