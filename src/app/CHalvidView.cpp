#include "app/CHalvidView.h"

#include "app/CardPages.h"
#include "base/CardTypes.h"
#include "app/ScreenMetrics.h"
#include "pages/CCardPage.h"
#include "pages/CPortSetPage.h"
#include "dialogs/PageBackground.h"
#include "reader/RuntimeState.h"

#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr int EmptyScrollSize = 100;

// The surface under the page: it carries the background and scrolls with the page.
class ViewCanvas : public QWidget
{
public:
    explicit ViewCanvas(QWidget *parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("viewCanvas"));
        setAutoFillBackground(true);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        Q_UNUSED(event);
        QPainter painter(this);
        m_background.PaintBackground(painter, rect());
    }

private:
    PageBackground m_background;
};

} // namespace

CHalvidView::CHalvidView(QWidget *parent)
    : QScrollArea(parent)
{
    setObjectName(QStringLiteral("halvidView"));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    m_canvas = new ViewCanvas(this);
    setWidget(m_canvas);
    updateScrollRange();
}

CHalvidView::~CHalvidView() = default;

void CHalvidView::removePage()
{
    delete m_page;
    m_page = nullptr;
}

void CHalvidView::ShowPage(CardKind kind)
{
    verticalScrollBar()->setValue(0);
    m_cardType = kind;
    removePage();

    if (HasCardTypeRow(kind)) {
        const CardTypeInfo &info = CardTypeEntry(kind);
        const int screenWidth = ScreenSize().width();
        m_page = CreateCardPage(kind, screenWidth, m_canvas);
        if (m_page != nullptr) {
            const bool narrow = screenWidth == 640 || screenWidth == 800;
            m_placement = narrow ? info.narrowPlacement : info.placement;
            placePage();
        }
    }
    showAndUpdateRange();
}

void CHalvidView::ShowPortPage()
{
    verticalScrollBar()->setValue(0);
    m_cardType = CardKind::PortPage;
    removePage();
    m_page = new CPortSetPage(m_canvas);
    m_placement = PagePlacement::Centred;
    placePage();
    showAndUpdateRange();
}

void CHalvidView::placePage()
{
    switch (m_placement) {
    case PagePlacement::Centred: placeCentred(); break;
    case PagePlacement::TemplatePosition: break;
    case PagePlacement::FillsView: placeOverView(ScreenSize().width()); break;
    }
}

void CHalvidView::placeCentred()
{
    // Centred in the frame's client width, not the view's: the page sits in the middle of the
    // window whatever the scroll bar takes.
    QWidget *frame = window();
    const int frameLeft = m_canvas->mapFrom(frame, QPoint(0, 0)).x();
    const int offset = (frame->width() - m_page->width()) / 2;
    // A window narrower than the page (no window manager to maximise it, a small screen) keeps
    // the page's left edge in view rather than pushing its first column off the canvas.
    m_page->move(std::max(0, frameLeft + offset), m_page->y());
}

void CHalvidView::placeOverView(int screenWidth)
{
    m_page->setGeometry(QRect(QPoint(0, 0), viewport()->size()));
    m_page->layoutForWidth(screenWidth);
    coverView();
}

void CHalvidView::coverView()
{
    // The page covers the view, and reaches further down when its controls do (the view then
    // scrolls over it).
    const QSize client = viewport()->size();
    m_page->setGeometry(0, 0, client.width(), std::max(client.height(), m_page->contentHeight()));
}

void CHalvidView::showAndUpdateRange()
{
    if (m_page != nullptr)
        m_page->show();
    updateScrollRange();
}

void CHalvidView::updateScrollRange()
{
    const QSize client = viewport()->size();
    const int contentHeight = m_page != nullptr ? m_page->contentHeight() : 0;
    m_scrollHeight = contentHeight > client.height() ? contentHeight : EmptyScrollSize;
    m_canvas->resize(std::max(client.width(), EmptyScrollSize), std::max(client.height(), m_scrollHeight));
}

void CHalvidView::refreshBackground()
{
    m_canvas->update();
    if (m_page != nullptr)
        m_page->update();
}

void CHalvidView::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    // The frame reaches its maximised size after the page was placed (window managers answer
    // later): the page follows, so that it stays centred or covering the view.
    if (m_page != nullptr && m_placement == PagePlacement::Centred)
        placeCentred();
    else if (m_page != nullptr && m_placement == PagePlacement::FillsView)
        coverView();
    updateScrollRange();
}
