#pragma once

#include <QByteArray>
#include <QLineEdit>

#include <cstdint>

// The entry field of every hexadecimal value: accepts only hex digits (typed letters echo in
// lower case), holds at most twice its byte limit in characters, and converts between its text
// and bytes. A locked field refuses typing and pasting but can still be selected and copied.
//
// The character limit binds what the operator types or pastes only; text the program sets
// (SetHexBytes, setText) is shown whole, as an edit control's text limit does.
class CHexEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit CHexEdit(QWidget *parent = nullptr);

    // Shows the bytes in upper case; count 0 empties the field; a null pointer leaves it as is.
    void SetHexBytes(const uint8_t *bytes, int count);
    void SetHexBytes(const QByteArray &bytes);
    // The value's four bytes, least significant first (258 shows "02010000").
    void SetHexValue(uint32_t value);
    // The text decoded: one byte per pair, plus one for an odd trailing character.
    QByteArray GetHexBytes() const;
    // Complete pairs only: text length / 2.
    int GetHexByteCount() const;
    // The field takes at most 2 x bytes characters.
    void SetMaxBytes(int bytes);
    // The character limit / 2, rounded up.
    int GetMaxBytes() const;
    // The limit in characters for typing and pasting (SetMaxBytes sets twice the bytes).
    void SetLimitText(int characters);
    int GetLimitText() const { return m_limitCharacters; }
    void SetInputLocked(bool locked);
    bool IsInputLocked() const { return m_inputLocked; }

    // Pastes the clipboard's text as the operator's paste does (nothing when locked).
    void pasteClipboard();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    // Inserts pasted text in place of the selection, cut to the first line and to the room the
    // character limit leaves; any characters are taken, as a paste is not filtered.
    void insertFromMimeData(const QString &text);

private:
    // Characters that can still be added when the selection is replaced.
    int room() const;
    bool lockedKeyAllowed(const QKeyEvent *event) const;

    int m_limitCharacters;
    bool m_inputLocked = false;
};
