#include "app/CProcessView.h"

#include "reporting/MessageCatalogue.h"
#include "dialogs/CaptionFrame.h"

#include "reporting/UserPrompts.h"
#include "base/AtomicSave.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFont>
#include <QMenu>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr int EmptyContentHeight = 100;
constexpr int ScrollWidth = 100;
constexpr int FontHeight = 20;
constexpr int LineHeight = FontHeight + 2;
constexpr int TextX = 20;
constexpr int GradientRows = 84;
const QColor FailureColour(255, 0, 0);

QFont logFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(FontHeight);
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// The log's background: a blue-grey gradient over the first 84 rows, white below.
void paintLogBackground(QPainter &painter, const QRect &area)
{
    const int h = area.height();
    const int n = std::min(GradientRows, h);
    for (int i = 0; i < n; ++i) {
        const QColor colour((171 + i) % 256, (188 + (67 * i) / n) % 256, (199 + (56 * i) / n) % 256);
        painter.fillRect(QRect(area.left(), area.top() + i, area.width(), 1), colour);
    }
    if (h > n)
        painter.fillRect(QRect(area.left(), area.top() + n, area.width(), h - n), Qt::white);
}

CProcessView::SavePathPrompt &savePathPrompt()
{
    static CProcessView::SavePathPrompt prompt;
    return prompt;
}

QString askSavePath(QWidget *parent)
{
    if (savePathPrompt())
        return savePathPrompt()(parent);
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Save As"), QString(),
                                        QStringLiteral("Text files (*.txt);;All files (*)"));
}

QString resultText(int32_t status)
{
    return status == 0 ? Message(Msg::CallSucceeded) : Message(Msg::CallFailedWithCode, status);
}

} // namespace

CProcessView::SavePathPrompt CProcessView::setSavePathPrompt(SavePathPrompt prompt)
{
    return std::exchange(savePathPrompt(), std::move(prompt));
}

QString CProcessView::entriesText() const
{
    QString text;
    for (const LogEntry &entry : m_entries)
        text += entry.text + u'\t' + resultText(entry.status) + u'\n';
    return text;
}

void CProcessView::copyEntries() const
{
    QApplication::clipboard()->setText(entriesText());
}

bool CProcessView::saveEntries(const QString &path)
{
    QString reason;
    if (SaveFileAtomically(path, entriesText().toUtf8(), &reason))
        return true;
    ShowMessageBox(this, QStringLiteral("Cannot save the log to %1: %2").arg(path, reason),
                   QStringLiteral("Error"), MessageIcon::Warning, MessageButtons::Ok);
    return false;
}

QMenu *CProcessView::createContextMenu()
{
    auto *menu = new QMenu(this);
    QAction *copy = menu->addAction(QStringLiteral("Copy"), this, &CProcessView::copyEntries);
    copy->setObjectName(QStringLiteral("logCopy"));
    QAction *saveAs = menu->addAction(QStringLiteral("Save As\u2026"), this, [this] {
        const QString path = askSavePath(this);
        if (!path.isEmpty())
            saveEntries(path);
    });
    saveAs->setObjectName(QStringLiteral("logSaveAs"));
    const bool empty = m_entries.isEmpty();
    copy->setEnabled(!empty);
    saveAs->setEnabled(!empty);
    return menu;
}

void CProcessView::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

CProcessView::CProcessView(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("processView"));
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    horizontalScrollBar()->setRange(0, 0);
    updateScrollRange();
}

void CProcessView::clearEntries()
{
    m_entries.clear();
    m_contentHeight = EmptyContentHeight;
    updateScrollRange();
    verticalScrollBar()->setValue(0);
    markImageStale();
}

void CProcessView::appendEntry(const QString &text, int32_t status)
{
    m_entries.append(LogEntry{text, status});
    const int linesHeight = int(m_entries.size()) * LineHeight;
    m_contentHeight = linesHeight > EmptyContentHeight ? linesHeight + 24 : EmptyContentHeight;
    updateScrollRange();
    verticalScrollBar()->setValue(0);
    markImageStale();
}

void CProcessView::markImageStale()
{
    // An operation logs call after call before the window paints again: the bitmap is drawn
    // once, for the paint that shows them, not once per call.
    m_imageStale = true;
    viewport()->update();
}

const QStaticText &CProcessView::laidOutText(const QString &text)
{
    // The same few names and results come back call after call: each is laid out once.
    auto found = m_laidOutTexts.find(text);
    if (found == m_laidOutTexts.end()) {
        QStaticText laidOut(text);
        laidOut.setTextFormat(Qt::PlainText);
        laidOut.prepare(QTransform(), logFont());
        found = m_laidOutTexts.insert(text, laidOut);
    }
    return found.value();
}

void CProcessView::rebuildImage()
{
    const QSize client = viewport()->size();
    const int width = std::max(1, client.width());
    const int height = std::max(m_contentHeight, client.height());
    m_image = QImage(width, height, QImage::Format_RGB32);

    QPainter painter(&m_image);
    paintLogBackground(painter, m_image.rect());
    painter.setFont(logFont());
    painter.setBackgroundMode(Qt::TransparentMode);
    const int statusX = client.width() / 2;
    // Only the lines in sight are drawn; scrolling draws the others when they come into it.
    const int top = verticalScrollBar()->value();
    const int first = std::max(0, top / LineHeight - 1);
    const int last = std::min(int(m_entries.size()), (top + client.height()) / LineHeight + 2);
    for (int i = first; i < last; ++i) {
        const LogEntry &entry = m_entries[i];
        // The text's top: its baseline lies one ascent below.
        const int top = i * LineHeight;
        painter.setPen(PageTextColour);
        painter.drawStaticText(TextX, top, laidOutText(entry.text));
        if (entry.status == 0) {
            painter.drawStaticText(statusX, top, laidOutText(Message(Msg::CallSucceeded)));
        } else {
            painter.setPen(FailureColour);
            painter.drawStaticText(statusX, top, laidOutText(Message(Msg::CallFailedWithCode, entry.status)));
        }
    }
    painter.end();
    m_imageStale = false;
}

void CProcessView::updateScrollRange()
{
    const QSize client = viewport()->size();
    QScrollBar *bar = verticalScrollBar();
    bar->setRange(0, std::max(0, m_contentHeight - client.height()));
    bar->setPageStep(std::max(1, m_contentHeight / 10));
    bar->setSingleStep(std::max(1, m_contentHeight / 100));
    QScrollBar *across = horizontalScrollBar();
    across->setRange(0, std::max(0, ScrollWidth - client.width()));
    across->setPageStep(ScrollWidth / 10);
    across->setSingleStep(1);
}

void CProcessView::paintEvent(QPaintEvent *event)
{
    if (m_imageStale)
        rebuildImage();
    QPainter painter(viewport());
    const QRect client = viewport()->rect();
    if (m_image.isNull()) {
        paintLogBackground(painter, client);
        return;
    }
    // Whatever the bitmap does not cover (a client grown since it was drawn) shows the erased
    // background.
    if (m_image.width() < client.width() || m_image.height() - verticalScrollBar()->value() < client.height())
        paintLogBackground(painter, client);
    painter.drawImage(QPoint(0, -verticalScrollBar()->value()), m_image);
    Q_UNUSED(event);
}

void CProcessView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
    // The bitmap has the client's width: the status column sits at half of it.
    if (!m_image.isNull())
        markImageStale();
}

void CProcessView::scrollContentsBy(int dx, int dy)
{
    Q_UNUSED(dx);
    Q_UNUSED(dy);
    if (!m_image.isNull())
        m_imageStale = true;
    viewport()->update();
}
