#include "app/CardPages.h"
#include "base/CardTypes.h"
#include "controls/CHexEdit.h"
#include "pages/CCardPage.h"
#include "pages/CPortSetPage.h"

#include <QStyle>
#include <QStyleOptionFrame>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The width a line edit needs to show `text` without scrolling, as QLineEdit measures itself.
int widthToShow(const CHexEdit &edit, const QString &text)
{
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.lineWidth = edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit);
    const QMargins margins = edit.textMargins();
    // QLineEdit keeps two pixels free on either side of its text.
    const int textWidth = edit.fontMetrics().horizontalAdvance(text) + 4 + margins.left() + margins.right();
    return edit.style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(textWidth, edit.height()), &edit).width();
}

// Every limited field shows its longest value: its byte count of the widest hex digit. Fields
// without a limit show what the card answers.
void expectWholeValuesFit(const CCardPage &page, const QString &where)
{
    for (const CHexEdit *edit : page.findChildren<CHexEdit *>()) {
        if (edit->GetMaxBytes() <= 0 || edit->GetMaxBytes() > 1024)
            continue;
        QChar widest = QLatin1Char('0');
        for (QChar digit : QStringLiteral("0123456789ABCDEF"))
            if (edit->fontMetrics().horizontalAdvance(digit) > edit->fontMetrics().horizontalAdvance(widest))
                widest = digit;
        const QString value(2 * edit->GetMaxBytes(), widest);
        EXPECT_LE(widthToShow(*edit, value), edit->width())
            << where.toStdString() << ", " << edit->objectName().toStdString() << ": " << edit->GetMaxBytes()
            << " bytes need " << widthToShow(*edit, value) << " px, the field is " << edit->width();
    }
}

TEST(HexFieldWidthTest, EveryLimitedHexFieldOfEveryPageShowsItsLongestValue)
{
    int pages = 0;
    for (CardKind kind : TableCardKinds) {
        for (int screenWidth : {640, 800, 1024, 1280}) {
            std::unique_ptr<CCardPage> page(CreateCardPage(kind, screenWidth, nullptr));
            if (page == nullptr)
                continue;
            ++pages;
            expectWholeValuesFit(*page, CardName(kind) + QStringLiteral(" at %1 px").arg(screenWidth));
        }
    }
    CPortSetPage portPage;
    expectWholeValuesFit(portPage, QStringLiteral("Port Set"));
    EXPECT_GT(pages, 0);
}

} // namespace
