#pragma once

#include <QString>

#include <functional>

class QWidget;

// Every message box and the system question sound go through these two functions, so that
// tests can answer the boxes and count the sounds.

enum class MessageIcon { None, Error, Warning, Question, Information };
enum class MessageButtons { Ok, OkCancel };
enum class MessageAnswer { Ok, Cancel };

struct MessageBoxRequest {
    QWidget *parent = nullptr;
    QString text;
    QString caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

using MessageBoxHandler = std::function<MessageAnswer(const MessageBoxRequest &)>;
using SoundHandler = std::function<void()>;

// Shows a modal message box (the "Error" caption with the stop icon, and so on) and returns
// the button pressed.
MessageAnswer ShowMessageBox(QWidget *parent, const QString &text, const QString &caption,
                             MessageIcon icon = MessageIcon::None,
                             MessageButtons buttons = MessageButtons::Ok);

// The system question sound, played with every failure report.
void PlayQuestionSound();

// Replace the handlers; an empty handler restores the real one. Each returns the previous one.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
SoundHandler SetQuestionSoundHandler(SoundHandler handler);
