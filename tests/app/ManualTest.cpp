#include "TestFiles.h"

#include "app/CardPages.h"
#include "app/ProgramRuns.h"
#include "base/CardTypes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

QStringList captures(const QString &text, const char *pattern)
{
    QStringList found;
    QRegularExpressionMatchIterator matches = QRegularExpression(QString::fromLatin1(pattern)).globalMatch(text);
    while (matches.hasNext())
        found << matches.next().captured(1);
    return found;
}

// The manual as "Help Topic" opens it, beside the program: each link leads to a page and an anchor
// that exist, each picture exists, and every card page has a section named after its card
// (FoldedName) that shows its picture.
TEST(ManualTest, LinksAndPicturesExistAndEveryCardPageHasASectionWithItsPicture)
{
    const QDir manual(QCoreApplication::applicationDirPath() + QStringLiteral("/manual"));
    const QStringList pages = manual.entryList({QStringLiteral("*.html")}, QDir::Files);
    ASSERT_TRUE(pages.contains(QStringLiteral("index.html"))) << manual.path().toStdString();
    std::map<QString, QString> texts;
    std::map<QString, std::set<QString>> anchors;
    for (const QString &page : pages) {
        texts[page] = QString::fromUtf8(fileBytes(manual.filePath(page)));
        for (const QString &id : captures(texts[page], R"re(\bid="([^"]+)")re"))
            anchors[page].insert(id);
    }
    for (const auto &[page, text] : texts) {
        for (const QString &link : captures(text, R"re(\bhref="([^"]+)")re")) {
            if (link.contains(u':'))
                continue; // another site
            const QString target = link.section(u'#', 0, 0).isEmpty() ? page : link.section(u'#', 0, 0);
            const QString anchor = link.section(u'#', 1);
            EXPECT_TRUE(QFile::exists(manual.filePath(target))) << page.toStdString() << ": " << link.toStdString();
            EXPECT_TRUE(anchor.isEmpty() || anchors[target].count(anchor)) << page.toStdString() << ": " << link.toStdString();
        }
        for (const QString &source : captures(text, R"re(\bsrc="([^"]+)")re"))
            EXPECT_TRUE(QFile::exists(manual.filePath(source))) << page.toStdString() << ": " << source.toStdString();
    }

    int cardPages = 0;
    for (CardKind kind : TableCardKinds) {
        if (!HasCardPage(kind))
            continue;
        ++cardPages;
        const QString name = FoldedName(CardName(kind));
        const QString heading = QStringLiteral("id=\"%1\"").arg(name);
        const auto holder = std::find_if(texts.begin(), texts.end(), [&](const auto &page) { return page.second.contains(heading); });
        ASSERT_NE(holder, texts.end()) << "no section " << name.toStdString();
        const QString &text = holder->second;
        const qsizetype start = text.indexOf(heading);
        const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("<h[23] ")), start);
        const QString picture = QStringLiteral("pictures/%1.png").arg(name);
        EXPECT_TRUE(text.mid(start, end < 0 ? -1 : end - start).contains(QStringLiteral("src=\"%1\"").arg(picture)))
            << "the section " << name.toStdString() << " shows no " << picture.toStdString();
    }
    EXPECT_EQ(cardPages, 26);
    EXPECT_TRUE(anchors[QStringLiteral("port.html")].count(QStringLiteral("port")));
}

// The command line the program lists with --help is the one its manual page and the manual's
// chapter describe.
TEST(ManualTest, EveryOptionOfTheHelpIsInTheManualPageAndTheCommandLineChapter)
{
    const QString manualPage = QString::fromUtf8(fileBytes(QStringLiteral(QT_TESTCASE_SOURCEDIR "/../packaging/man/vornex.1")));
    const QString chapter = QString::fromUtf8(fileBytes(QCoreApplication::applicationDirPath() + QStringLiteral("/manual/command-line.html")));
    ASSERT_FALSE(manualPage.isEmpty() || chapter.isEmpty());
    const QStringList options = captures(ProgramUsage(), R"((?:^|\s)(--[a-z-]+))");
    EXPECT_GE(options.size(), 8);
    for (const QString &option : options) {
        EXPECT_TRUE(manualPage.contains(QString(option).replace(u'-', QStringLiteral("\\-")))) << option.toStdString();
        EXPECT_TRUE(chapter.contains(option)) << option.toStdString();
    }
}

} // namespace
