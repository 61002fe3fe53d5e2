#include "PageHarness.h"
#include "TestFiles.h"

#include "shell/CAboutDlg.h"

#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The title and the four lines come from the file as it is at each opening; keys it lacks and a
// missing file leave them empty, never the template's texts.
TEST(AboutDlgTest, ShowsTheTitleAndTheFourLinesOfTheFileAtEachOpeningAndOkClosesIt)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("AppConfig.ini"));
    const struct {
        QByteArray file;
        QString title;
        QStringList lines;
    } cases[] = {
        {"[AppInfo]\nAboutTitle=About it\nAboutVersion=v 2\nAboutLTD=Corvale\nHTTP=web\nCOPYRIGHT=(c)\n",
         QStringLiteral("About it"), {"v 2", "Corvale", "web", "(c)"}},
        {"[AppInfo]\nAboutTitle=Edited\nHTTP=only web\n", QStringLiteral("Edited"), {"", "", "only web", ""}},
        {QByteArray(), QString(), {"", "", "", ""}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file.left(60).toStdString());
        QFile::remove(path);
        ASSERT_TRUE(c.file.isEmpty() || writeBytes(path, c.file));
        CAboutDlg dialog(path);
        EXPECT_EQ(dialog.windowTitle(), c.title);
        QStringList lines;
        for (int id = 1097; id <= 1100; ++id)
            lines << PageHarness::text(&dialog, id);
        EXPECT_EQ(lines, c.lines);
        dialog.show();
        dialog.findChild<QAbstractButton *>(QStringLiteral("id1"))->click();
        EXPECT_TRUE(dialog.result() == QDialog::Accepted && !dialog.isVisible());
    }
}

} // namespace
