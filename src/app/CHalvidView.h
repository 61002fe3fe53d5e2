#pragma once

#include "base/CardTypes.h"

#include <QScrollArea>

#include <optional>

class CCardPage;

// The page host in the upper row of the main frame: a scrolling view that shows exactly one card
// page at a time over the chosen background. Choosing another card type destroys the current
// page, with whatever its fields held, and builds the new one.
class CHalvidView : public QScrollArea
{
    Q_OBJECT
public:
    explicit CHalvidView(QWidget *parent = nullptr);
    ~CHalvidView() override;

    // Replaces the current page by the page of the card type; card types without a page (Set,
    // Demo, pages not built, anything outside the table) leave the view empty.
    void ShowPage(CardKind kind);
    // Replaces the current page by the port and device page.
    void ShowPortPage();

    // The shown page, null when none.
    CCardPage *page() const { return m_page; }
    // The card type the view was last asked to show (CardKind::PortPage for the port page).
    std::optional<CardKind> shownCardType() const { return m_cardType; }
    // Height of the vertical scroll range: the page's content height when it exceeds the
    // client height, else 100.
    int scrollHeight() const { return m_scrollHeight; }
    // The widget the page lives on, scrolled by the view.
    QWidget *canvas() const { return m_canvas; }

    // Repaints the background (a new choice of bitmap) and the page over it.
    void refreshBackground();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void removePage();
    void placePage();
    void placeCentred();
    void placeOverView(int screenWidth);
    void coverView();
    void showAndUpdateRange();
    void updateScrollRange();

    QWidget *m_canvas = nullptr;
    CCardPage *m_page = nullptr;
    std::optional<CardKind> m_cardType;
    PagePlacement m_placement = PagePlacement::Centred;
    int m_scrollHeight = 100;
};
