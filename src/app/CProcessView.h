#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QVector>

#include <cstdint>

// The log pane: for the current operation, each reader-library call and its status, one line
// each, drawn over a gradient.
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
    // Height of the scrollable content in pixels: 100, or n x 22 + 24 once n x 22 passes 100.
    int contentHeight() const { return m_contentHeight; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void rebuildImage();
    void updateScrollRange();

    QVector<LogEntry> m_entries;
    QImage m_image; // off-screen drawing of the whole content; null before the first clear
    int m_contentHeight = 100;
};
