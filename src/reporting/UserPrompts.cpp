#include "reporting/UserPrompts.h"

#include <QApplication>
#include <QMessageBox>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

MessageAnswer showRealMessageBox(const MessageBoxRequest &request)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (request.icon) {
    case MessageIcon::None: icon = QMessageBox::NoIcon; break;
    case MessageIcon::Error: icon = QMessageBox::Critical; break;
    case MessageIcon::Warning: icon = QMessageBox::Warning; break;
    case MessageIcon::Question: icon = QMessageBox::Question; break;
    case MessageIcon::Information: icon = QMessageBox::Information; break;
    }
    const QMessageBox::StandardButtons buttons = request.buttons == MessageButtons::OkCancel
        ? QMessageBox::Ok | QMessageBox::Cancel
        : QMessageBox::Ok;
    QMessageBox box(icon, request.caption, request.text, buttons, request.parent);
    // A box asked for in the middle of an operation waits for the operator, not for the reader.
    const bool waiting = QGuiApplication::overrideCursor() != nullptr;
    if (waiting)
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    const bool accepted = box.exec() == QMessageBox::Ok;
    if (waiting)
        QGuiApplication::restoreOverrideCursor();
    return accepted ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

void playRealQuestionSound()
{
#ifdef _WIN32
    MessageBeep(MB_ICONQUESTION);
#else
    QApplication::beep();
#endif
}

MessageBoxHandler &messageBoxHandler()
{
    static MessageBoxHandler handler = showRealMessageBox;
    return handler;
}

SoundHandler &soundHandler()
{
    static SoundHandler handler = playRealQuestionSound;
    return handler;
}

} // namespace

MessageAnswer ShowMessageBox(QWidget *parent, const QString &text, const QString &caption,
                             MessageIcon icon, MessageButtons buttons)
{
    return messageBoxHandler()(MessageBoxRequest{parent, text, caption, icon, buttons});
}

void PlayQuestionSound()
{
    soundHandler()();
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler)
{
    MessageBoxHandler previous = std::move(messageBoxHandler());
    messageBoxHandler() = handler ? std::move(handler) : MessageBoxHandler(showRealMessageBox);
    return previous;
}

SoundHandler SetQuestionSoundHandler(SoundHandler handler)
{
    SoundHandler previous = std::move(soundHandler());
    soundHandler() = handler ? std::move(handler) : SoundHandler(playRealQuestionSound);
    return previous;
}
