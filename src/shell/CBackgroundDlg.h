#pragma once

#include "dialogs/PageBackground.h"

#include <QDialog>
#include <QPixmap>

#include <memory>

class CResourceLibrary;
class QListWidget;

// The background chooser: the 32 backgrounds of the resource library in a list, with the chosen
// one tiled in the preview frame. The library stays loaded while the dialog exists, so browsing
// the list does not reopen it for every preview. The caller reads selection() once the dialog
// was confirmed.
class CBackgroundDlg : public QDialog
{
    Q_OBJECT
public:
    // Ids of template 153.
    static constexpr int ListId = 1062;
    static constexpr int PreviewFrameId = 312;

    explicit CBackgroundDlg(int currentBitmap, QWidget *parent = nullptr);
    // The same with the library taken from another file.
    CBackgroundDlg(int currentBitmap, const QString &libraryPath, QWidget *parent = nullptr);
    ~CBackgroundDlg() override;

    // The chosen background 0 to 31; the stored choice when it was outside the list.
    int selection() const { return m_selection; }
    bool hasPreview() const { return !m_tile.isNull(); }
    const QImage &previewBitmap() const { return m_preview.bitmap(); }
    // The preview area: frame 312 shrunk by 3 pixels on every side.
    QRect previewRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void onListRowChanged(int row);
    void loadPreview();

    std::unique_ptr<CResourceLibrary> m_library; // set when this dialog loaded the library
    QListWidget *m_list = nullptr;
    PageBackground m_preview;
    QPixmap m_tile;
    int m_selection = -1;
};
