#include "PageHarness.h"
#include "TestFiles.h"

#include "app/ReaderCallTrace.h"
#include "pages/CMifareS50Page.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const MifarePanel &PanelA = CMifareS50Page::layout().panels[0];

QList<QJsonObject> readTrace(const QString &path)
{
    const QByteArray bytes = fileBytes(path);
    EXPECT_FALSE(bytes.isEmpty()) << path.toStdString();
    QList<QJsonObject> lines;
    for (const QByteArray &line : bytes.split('\n')) {
        if (line.isEmpty())
            continue;
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(line, &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
        lines << document.object();
    }
    return lines;
}

TEST(ReaderCallTraceTest, MifareReadSessionIsTracedCallByCall)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("trace.jsonl"));
    PageHarness harness;
    const QByteArray block = QByteArray::fromHex("00112233445566778899AABBCCDDEEFF");
    harness.reader().setDefault("rf_M1_read", {0, block, -1, 0});
    {
        ReaderCallTrace trace;
        ASSERT_TRUE(trace.start(path));
        CMifareS50Page page;
        PageHarness::click(&page, CMifareStdPage::RequestButton);
        PageHarness::setText(&page, PanelA.keyField, QStringLiteral("a0a1a2a3a4a5"));
        PageHarness::click(&page, PanelA.readButton);
    }

    const QList<QJsonObject> lines = readTrace(path);
    const std::vector<FakeReader::Call> &calls = harness.reader().calls();
    const QString readArgs = QStringLiteral("0,%1,{\"out\":\"") + QString::fromLatin1(block.toHex().toUpper())
                             + QStringLiteral("\"},16");
    // The arguments as the library received them, the device index first.
    const QStringList expectedArgs = {
        "0,0", "0,65", "0,1", "0,82,{\"out\":\"0200\"}", "0,4,{\"out\":\"C0FFEE42\"},4",
        "0,{\"in\":\"C0FFEE42\"},4,{\"out\":\"18\"}", "0,96,0,{\"in\":\"A0A1A2A3A4A5\"}",
        readArgs.arg(0), readArgs.arg(1), readArgs.arg(2), readArgs.arg(3)};
    ASSERT_EQ(lines.size(), qsizetype(expectedArgs.size()));
    ASSERT_GE(calls.size(), expectedArgs.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QJsonObject &line = lines[i];
        const FakeReader::Call &call = calls[std::size_t(i)];
        SCOPED_TRACE(call.name.toStdString());
        EXPECT_EQ(line["name"].toString(), call.name);
        EXPECT_EQ(line["seq"].toInt(), i + 1);
        EXPECT_EQ(line["status"].toInt(), 0);
        EXPECT_GE(line["us"].toInteger(), 0);
        EXPECT_TRUE(QDateTime::fromString(line["time"].toString(), Qt::ISODateWithMs).isValid());
        const QByteArray args = QJsonDocument(line["args"].toArray()).toJson(QJsonDocument::Compact);
        EXPECT_EQ(QString::fromLatin1(args.mid(1, args.size() - 2)), expectedArgs[i]);
    }
    EXPECT_EQ(std::pair(lines[3]["ordinal"].toInt(), lines[10]["ordinal"].toInt()), std::pair(15, 22));
}

TEST(ReaderCallTraceTest, AFileThatCannotBeOpenedIsRefusedWithTheReason)
{
    ReaderCallTrace trace;
    EXPECT_FALSE(trace.start(QStringLiteral("/nonexistent-folder/trace.jsonl")));
    EXPECT_FALSE(trace.errorString().isEmpty());
}

} // namespace
