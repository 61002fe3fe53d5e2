#include "base/ProgramDirectory.h"
#include "shell/AppConfig.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class AppConfigTest : public ::testing::Test
{
protected:
    QString write(const QByteArray &contents)
    {
        const QString path = folder.filePath(QStringLiteral("AppConfig.ini"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(contents);
        return path;
    }

    QTemporaryDir folder;
};

TEST_F(AppConfigTest, ShippedFileNamesTheSoftware)
{
    EXPECT_EQ(ReadAppConfig(AppConfigSoftwareName), QStringLiteral("Vornex"));
    EXPECT_FALSE(ReadAppConfig(AppConfigAboutTitle).isEmpty());
    EXPECT_TRUE(QFile::exists(ProgramFilePath(QStringLiteral("AppConfig.ini"))));
}

TEST_F(AppConfigTest, KeysByIndexAndTheirEdges)
{
    const QString path = write("; comment line\n"
                               "[Other]\nSoftwareName=wrong section\n"
                               "[ appinfo ]\r\n"
                               "Company = Corvale \r\n"
                               "version=1.2\n"
                               "SoftwareName=\"Quoted Name\"\n"
                               "AboutTitle=About=Equals\n"
                               "HTTP=\n"
                               "no equals sign here\n"
                               "SoftwareName=second one is ignored\n"
                               "[Later]\nCOPYRIGHT=not ours\n");
    EXPECT_EQ(ReadAppConfigFrom(path, AppConfigCompany), QStringLiteral("Corvale"));
    EXPECT_EQ(ReadAppConfigFrom(path, AppConfigVersion), QStringLiteral("1.2"));
    EXPECT_EQ(ReadAppConfigFrom(path, AppConfigSoftwareName), QStringLiteral("Quoted Name"));
    EXPECT_EQ(ReadAppConfigFrom(path, AppConfigAboutTitle), QStringLiteral("About=Equals"));
    EXPECT_EQ(ReadAppConfigFrom(path, AppConfigHttp), QString());
    EXPECT_EQ(ReadAppConfigFrom(path, AppConfigCopyright), QString());
    EXPECT_EQ(ReadAppConfigFrom(path, -1), QString());
    EXPECT_EQ(ReadAppConfigFrom(path, 8), QString());
}

TEST_F(AppConfigTest, LongValuesAreCutAt259Characters)
{
    const QByteArray value(300, 'x');
    const QString path = write("[AppInfo]\nAboutVersion=" + value + "\nHTTP=" + QByteArray(259, 'y') + "\n");
    EXPECT_EQ(ReadAppConfigFrom(path, AppConfigAboutVersion), QString(259, u'x'));
    EXPECT_EQ(ReadAppConfigFrom(path, AppConfigHttp), QString(259, u'y'));
    // The cut never splits a pair: two characters outside the basic plane after 258 others.
    const QString pairPath = write("[AppInfo]\nHTTP=" + QByteArray(258, 'a') + "\xF0\x9F\x98\x80\xF0\x9F\x98\x80\n");
    EXPECT_EQ(ReadAppConfigFrom(pairPath, AppConfigHttp), QString(258, u'a'));

    // A line far longer than any buffer: its tail never passes for a key of its own.
    const QByteArray huge = "[AppInfo]\nAboutLTD=" + QByteArray(200000, 'z') + "HTTP=tail\nCOPYRIGHT=c\n";
    const QString hugePath = write(huge);
    EXPECT_EQ(ReadAppConfigFrom(hugePath, AppConfigAboutLtd), QString(259, u'z'));
    EXPECT_EQ(ReadAppConfigFrom(hugePath, AppConfigHttp), QString());
    EXPECT_EQ(ReadAppConfigFrom(hugePath, AppConfigCopyright), QStringLiteral("c"));
}

TEST_F(AppConfigTest, MissingFileOrSectionGivesEmptyTexts)
{
    EXPECT_EQ(ReadAppConfigFrom(folder.filePath(QStringLiteral("none.ini")), AppConfigSoftwareName), QString());
    const QString path = write("SoftwareName=no section\nAboutTitle=x\n");
    for (int index = 0; index < 8; ++index)
        EXPECT_EQ(ReadAppConfigFrom(path, index), QString()) << index;
}

TEST_F(AppConfigTest, BinaryBytesNeverBreakTheReader)
{
    QByteArray junk;
    for (int i = 0; i < 2048; ++i)
        junk.append(char(i % 256));
    QByteArray contents = junk + "\n[AppInfo]\nSoftwareName=ab";
    contents += '\0';
    contents += "cd\nAboutTitle=\xff\xfe ok\n" + junk;
    const QString path = write(contents);
    // A NUL ends the value; undecodable bytes are replaced, not dropped silently into garbage.
    EXPECT_EQ(ReadAppConfigFrom(path, AppConfigSoftwareName), QStringLiteral("ab"));
    const QString title = ReadAppConfigFrom(path, AppConfigAboutTitle);
    EXPECT_TRUE(title.endsWith(QStringLiteral(" ok")));
    EXPECT_LE(title.size(), 259);
    for (int index = 0; index < 8; ++index)
        EXPECT_LE(ReadAppConfigFrom(path, index).size(), 259);
}

} // namespace
