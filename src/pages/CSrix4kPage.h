#pragma once

#include "pages/CStTagPage.h"

#include <QRect>

class QMouseEvent;

// The page of "SRIX4K", an ST tag of 128 blocks of 4 bytes: selects it and shows its chip ID,
// reads its UID, reads every block, writes one block and writes the lock register after a
// confirmation. The 128 block fields are made at run time and shown 64 at a time on two
// hand-drawn tab pages, in a grid that covers the page right of the buttons.
class CSrix4kPage : public CStTagPage
{
    Q_OBJECT
public:
    // The page's controls.
    enum ControlId : int {
        ChipIdField = 1115,
        UidField = 1058,
        BlockList = 1120,
        LockRegisterField = 1059,
        ChipIdLabel = 1127,
        UidLabel = 1128,
        BlockLabel = 1129,
        LockRegisterLabel = 1130,
        RequestButton = 1010,
        ReadUidButton = 1066,
        ReadButton = 1063,
        WriteButton = 1064,
        LockButton = 1067,
        // Made at run time: block b in field FirstBlockField + b beside label FirstBlockLabel + b,
        // and the four column headers.
        FirstBlockField = 5000,
        FirstBlockLabel = 5500,
        FirstColumnHeader = 6000,
    };

    explicit CSrix4kPage(QWidget *parent = nullptr);

    // Dialog template 145.
    static const DialogTemplate &dialogTemplate();

    static constexpr int BlockCount = 128;

    // The grid follows the page's own width; the screen width is not needed.
    void layoutForWidth(int screenWidth) override;

    // 0: blocks 0 to 63, 1: blocks 64 to 127.
    int shownTab() const { return m_shownTab; }
    QRect gridArea() const { return m_gridArea; }
    QRect tabRect(int tab) const { return m_tabRects[tab]; }

protected:
    void paintPage(QPainter &painter) override;
    void mousePressEvent(QMouseEvent *event) override;
    // The host covers its view with the page again whenever the view grows (the frame reaches
    // its maximised size late): the grid follows the new width and the page keeps its height.
    void resizeEvent(QResizeEvent *event) override;

private:
    void initialise();
    void createBlockControls();
    void layoutGrid();
    void showTab(int tab);
    void readUid();

    int m_shownTab = 0;
    QRect m_gridArea;
    QRect m_tabRects[2];
};
