#pragma once

#include "FakeReader.h"
#include "TestFiles.h"

#include "app/CHalvidApp.h"
#include "app/CMainFrame.h"
#include "app/ScreenMetrics.h"
#include "reporting/UserPrompts.h"
#include "reader/CSettingsKey.h"
#include "reader/RuntimeState.h"
#include "reader/Settings.h"

#include <QApplication>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// The checked entries of the frame's menus but "All Card Pages": the card shown.
inline QStringList checkedCards(const CMainFrame &frame)
{
    QStringList checked;
    for (QAction *action : frame.findChildren<QAction *>())
        if (action->isChecked() && action->objectName() != QStringLiteral("cmd%1").arg(CmdAllCards))
            checked << action->objectName();
    return checked;
}

inline void showAt(QWidget &widget, int width, int height)
{
    widget.resize(width, height);
    widget.show();
    QApplication::processEvents();
}

// A program around the frame: the recording fake reader, message boxes answered OK and kept,
// question sounds counted, no settings key, a fixed screen.
class FrameFixture : public ::testing::Test
{
public:
    static QString settingsPath() { return CSettingsKey::keyFilePath(QString::fromLatin1(SettingsKeyName)); }

protected:
    void SetUp() override
    {
        ResetRuntimeState();
        QFile::remove(settingsPath());
        reader = std::make_unique<FakeReader>();
        previousBoxes = SetMessageBoxHandler([this](const MessageBoxRequest &request) {
            boxes.push_back(request);
            return MessageAnswer::Ok;
        });
        previousSound = SetQuestionSoundHandler([this] { ++sounds; });
        SetScreenSizeOverride(QSize(1024, 768));
    }
    void TearDown() override
    {
        SetScreenSizeOverride(QSize());
        SetMessageBoxHandler(previousBoxes);
        SetQuestionSoundHandler(previousSound);
        reader.reset();
        QFile::remove(settingsPath());
        ResetRuntimeState();
    }

    static void writeSettings(int cardType, int comPort, int baudRate)
    {
        CardType = cardType;
        ComPort = comPort;
        BaudRate = baudRate;
        WriteSettings();
        ResetRuntimeState();
    }

    // The settings as the next start reads them: "CardType ComPort BaudRate AllCards".
    static QString savedSettings()
    {
        ResetRuntimeState();
        ReadSettings();
        return QStringLiteral("%1 %2 %3 %4").arg(CardType).arg(ComPort).arg(BaudRate).arg(int(AllCardsInMenu));
    }

    std::unique_ptr<FakeReader> reader;
    std::vector<MessageBoxRequest> boxes;
    int sounds = 0;
    MessageBoxHandler previousBoxes;
    SoundHandler previousSound;
};

// The application with the fixture's recording fake (or what the test binds in ReaderApi) in
// place of the library; it notes when the library would be freed, with the reader calls made and
// the settings written by then.
class FakeLibraryApp : public CHalvidApp
{
public:
    explicit FakeLibraryApp(const FakeReader &reader) : m_reader(reader) {}

    int callsBeforeFree = -1; // -1: never freed
    QByteArray settingsAtFree;

protected:
    bool loadReaderLibrary() override { return true; }
    void freeReaderLibrary() override
    {
        callsBeforeFree = int(m_reader.calls().size());
        settingsAtFree = fileBytes(FrameFixture::settingsPath());
    }

private:
    const FakeReader &m_reader;
};
