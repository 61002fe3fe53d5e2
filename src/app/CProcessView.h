#pragma once

#include <QAbstractScrollArea>
#include <QHash>
#include <QImage>
#include <QStaticText>
#include <QVector>

#include <cstdint>
#include <functional>

// The log pane: for the current operation, each reader-library call and its status, one line
// each, drawn over a gradient.
class QMenu;

// The log pane's context menu offers the lines as text: "Copy" to the clipboard and "Save As…"
// into a UTF-8 file, one line per call with its name and result separated by a tab.
class CProcessView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    struct LogEntry {
        QString text;
        int32_t status = 0;
    };

    explicit CProcessView(QWidget *parent = nullptr);

    // Starts a new operation: deletes every entry.
    void clearEntries();
    // Adds one line at the end and redraws.
    void appendEntry(const QString &text, int32_t status);

    const QVector<LogEntry> &entries() const { return m_entries; }
    // The entries as text: "name<TAB>result" per line, the result as the pane shows it.
    QString entriesText() const;
    // Puts entriesText() on the clipboard.
    void copyEntries() const;
    // Writes entriesText() as UTF-8; a file that cannot be written is said in a message box.
    bool saveEntries(const QString &path);
    // The context menu (actions "logCopy" and "logSaveAs"); the caller owns it.
    QMenu *createContextMenu();

    // How "Save As…" asks for the file; tests replace it. An empty answer cancels.
    using SavePathPrompt = std::function<QString(QWidget *parent)>;
    static SavePathPrompt setSavePathPrompt(SavePathPrompt prompt);
    // Height of the scrollable content in pixels: 100, or n x 22 + 24 once n x 22 passes 100.
    int contentHeight() const { return m_contentHeight; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void markImageStale();
    void rebuildImage();
    const QStaticText &laidOutText(const QString &text);
    void updateScrollRange();

    QVector<LogEntry> m_entries;
    QImage m_image; // off-screen drawing of the whole content; null before the first clear
    bool m_imageStale = false; // the entries changed since m_image was drawn
    QHash<QString, QStaticText> m_laidOutTexts;
    int m_contentHeight = 100;
};
