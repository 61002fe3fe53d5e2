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
        if (!c.file.isEmpty()) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.file);
        }
        CAboutDlg dialog(path);
        EXPECT_EQ(dialog.windowTitle(), c.title);
        for (int id = 1097; id <= 1100; ++id) {
            const QLabel *label = dialog.findChild<QLabel *>(QStringLiteral("id%1").arg(id));
            ASSERT_NE(label, nullptr) << id;
            EXPECT_EQ(label->text(), c.lines[id - 1097]) << id;
        }
        dialog.show();
        dialog.findChild<QAbstractButton *>(QStringLiteral("id1"))->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_FALSE(dialog.isVisible());
    }
}

} // namespace
