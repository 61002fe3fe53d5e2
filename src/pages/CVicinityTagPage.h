#pragma once

#include "pages/CCardPage.h"

#include <QByteArray>

#include <array>

class CHexGrid;
class QScrollBar;

// What the ISO 15693 and SRF55V pages share: four UID fields filled by an inventory of the tags
// in the field, each chosen by its "UID" option button, and a paged block grid with its scroll
// bar, column headers and row labels. One grid row is one block (or memory page).
class CVicinityTagPage : public CCardPage
{
    Q_OBJECT
public:
    // The four option buttons of every vicinity page, in the order the UID fields are searched.
    static constexpr std::array<int, 4> UidButtons = {1192, 1193, 1194, 1195};
    static constexpr int GridRows = 16;

    struct GridControls {
        int grid;
        int scrollBar;
        int bytesPerRow;
    };

    CVicinityTagPage(const DialogTemplate &dialogTemplate, std::array<int, 4> uidFields, GridControls grid,
                     QWidget *parent = nullptr);

    // The four rows of a "UID" option button and its locked field, the first field's top at `top`.
    static void addUidRows(ControlList &add, std::array<int, 4> uidFields, int top);

    CHexGrid *grid() const;
    QScrollBar *scrollBar() const;

protected:
    // The wait cursor for the length of a read.
    class WaitCursor
    {
    public:
        WaitCursor();
        ~WaitCursor();
        WaitCursor(const WaitCursor &) = delete;
        WaitCursor &operator=(const WaitCursor &) = delete;
    };

    // The byte string of the UID field whose option button is on; empty when none is.
    QByteArray selectedUid() const;
    // rf_init_type for ISO 15693, then ISO15693_Inventorys: records 0 to 3 fill the UID fields.
    void inventory();
    // The grid fits exactly its row of cells and its 16 rows, so that the labels and the rows
    // line up; returns its rectangle.
    QRect fitGrid();
    // A scroll to grid page p: shown, row labels redrawn, earlier edits forgotten.
    virtual void gridPageShown(int page);

    void paintPage(QPainter &painter) override;

private:
    std::array<int, 4> m_uidFields;
    GridControls m_gridControls;
};
