#pragma once

#include "base/CardTypes.h"
#include "pages/CCardPage.h"

class CHexGrid;
class QScrollBar;

// The page of the I2C memory cards "AT24C01" to "AT24C64" in the contact slot: reads the whole
// memory into a grid of 16 bytes a line, shown one screen (128 bytes for the AT24C01, 256
// otherwise) at a time, and writes back the range the operator overtyped.
class CAt24Page : public CCardPage
{
    Q_OBJECT
public:
    // The page's controls.
    enum ControlId : int {
        ReadButton = 1148,
        WriteButton = 1149,
        Grid = 1153,
        ScreenScrollBar = 1155,
    };

    explicit CAt24Page(QWidget *parent = nullptr);

    // Dialog template 150.
    static const DialogTemplate &dialogTemplate();

    // The card type ("AT24C01" to "AT24C64"), set once before the width layout.
    void setCardType(CardKind kind);
    CardKind cardType() const { return m_cardType; }
    int memorySize_bytes() const;
    // Centres the block from the Read button to the scroll bar, 70 pixels left of the middle.
    void layoutForWidth(int screenWidth) override;

protected:
    void paintPage(QPainter &painter) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool isSmallCard() const { return m_cardType == CardKind::At24c01; }
    // Moves the block horizontally into place for the page's width and sets the content height.
    void centre();
    void showScreen(int screen);
    void readCard();
    void writeCard();

    CardKind m_cardType = CardKind::At24c01;
    bool m_laidOut = false;
    CHexGrid *m_grid = nullptr;
    QScrollBar *m_scrollBar = nullptr;
};
