#include "pages/CCardPage.h"
#include "dialogs/CResourceLibrary.h"
#include "dialogs/PageBackground.h"
#include "reader/RuntimeState.h"

#include <QImage>
#include <QPainter>
#include <QResource>

#include <gtest/gtest.h>

namespace {

const QRgb Marker = qRgb(1, 2, 3);
// 300 x 200 dialog units: larger than every background in both directions.
const DialogTemplate EmptyTemplate{900, 300, 200, {}};

class BackgroundTest : public ::testing::Test
{
protected:
    void SetUp() override { ResetRuntimeState(); }
    void TearDown() override
    {
        delete BackgroundLibrary;
        BackgroundLibrary = nullptr;
        ResetRuntimeState();
    }

    // The page as painted over a marker colour: where the page paints nothing the marker shows.
    static QImage render(QWidget &page)
    {
        QImage image(page.size(), QImage::Format_RGB32);
        image.fill(Marker);
        page.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    }

    // The background's bitmap tiled over the page from its top left corner.
    static QImage tiled(int identifier, QSize size)
    {
        QImage image(size, QImage::Format_RGB32);
        QPainter(&image).fillRect(image.rect(), QBrush(CResourceLibrary().loadBitmap(identifier)));
        return image;
    }
};

} // namespace

TEST_F(BackgroundTest, LibraryHoldsThirtyTwoLightBitmaps)
{
    const CResourceLibrary library;
    ASSERT_TRUE(library.isLoaded()) << library.path().toStdString();
    EXPECT_TRUE(library.loadBitmap(200).isNull());
    EXPECT_TRUE(library.loadBitmap(233).isNull());

    for (int id = 201; id <= 232; ++id) {
        const QImage image = library.loadBitmap(id);
        ASSERT_FALSE(image.isNull()) << id;
        // Soft enough for PageTextColour text: no pixel darker than a light grey.
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
        int darkest = 255;
        for (int y = 0; y < rgb.height(); ++y)
            for (int x = 0; x < rgb.width(); ++x)
                darkest = std::min(darkest, qGray(rgb.pixel(x, y)));
        EXPECT_GE(darkest, 150) << id;
    }
}

TEST_F(BackgroundTest, LibraryIsLoadedByFullPathAndReleasedAfterEachLoadUnlessTheChooserHoldsIt)
{
    const QString resource = QStringLiteral(":/Kelb_Paper/201");
    PageBackground background;
    ASSERT_TRUE(background.LoadBackground(201));
    EXPECT_FALSE(QResource(resource).isValid());

    BackgroundLibrary = new CResourceLibrary;
    ASSERT_TRUE(background.LoadBackground(205));
    EXPECT_TRUE(QResource(resource).isValid());
    delete BackgroundLibrary;
    BackgroundLibrary = nullptr;
    EXPECT_FALSE(QResource(resource).isValid());

    // The tests run in the program's folder, where a bare file name would find the file.
    const CResourceLibrary byName(QStringLiteral("Kelb_Paper.rcc"));
    EXPECT_FALSE(byName.isLoaded());
    EXPECT_TRUE(byName.loadBitmap(201).isNull());
    EXPECT_TRUE(QFileInfo(CResourceLibrary::defaultPath()).isAbsolute());
}

TEST_F(BackgroundTest, NewChoiceShowsAtTheNextRepaintAndNoneOrAMissingLibraryPaintsNothing)
{
    CCardPage page(EmptyTemplate);
    const auto expectNothing = [&page] {
        const QImage image = render(page);
        EXPECT_EQ(std::pair(image.pixel(0, 0), image.pixel(200, 150)), std::pair(Marker, Marker));
    };
    // Background 13 (identifier 213) is wider than high, so swapped steps would show.
    for (const int choice : {12, 31}) {
        CurBitmap = choice;
        EXPECT_TRUE(render(page) == tiled(201 + choice, page.size())) << choice;
    }
    for (const int choice : {-1, 32}) {
        SCOPED_TRACE(choice);
        CurBitmap = choice;
        expectNothing();
    }

    // A missing library fails quietly.
    CurBitmap = 0;
    BackgroundLibrary = new CResourceLibrary(QStringLiteral("/nonexistent/Kelb_Paper.rcc"));
    EXPECT_FALSE(BackgroundLibrary->isLoaded());
    PageBackground background;
    EXPECT_FALSE(background.LoadBackground(201));
    expectNothing();
}
