#include "controls/CHexEdit.h"

#include "controls/HexCodec.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QRegularExpression>

namespace {

// An edit control's limit before one is set.
constexpr int DefaultLimitCharacters = 32767;

bool isModifierKey(int key)
{
    return key == Qt::Key_Control || key == Qt::Key_Shift || key == Qt::Key_Alt || key == Qt::Key_Meta
        || key == Qt::Key_AltGr;
}

// Gives the standard menu's actions the names of their icons ("edit-paste", ...), so that
// they are found by what they do rather than by their translated text.
void nameStandardActions(QMenu *menu)
{
    static const std::pair<const char *, const char *> names[] = {
        {QT_TRANSLATE_NOOP("QLineEdit", "&Undo"), "edit-undo"},   {QT_TRANSLATE_NOOP("QLineEdit", "&Redo"), "edit-redo"},
        {QT_TRANSLATE_NOOP("QLineEdit", "Cu&t"), "edit-cut"},     {QT_TRANSLATE_NOOP("QLineEdit", "&Copy"), "edit-copy"},
        {QT_TRANSLATE_NOOP("QLineEdit", "&Paste"), "edit-paste"}, {QT_TRANSLATE_NOOP("QLineEdit", "Delete"), "edit-delete"},
        {QT_TRANSLATE_NOOP("QLineEdit", "Select All"), "select-all"},
    };
    for (QAction *action : menu->actions()) {
        if (!action->objectName().isEmpty())
            continue;
        const QString text = action->text().section(u'\t', 0, 0);
        for (const auto &[source, name] : names) {
            if (text == QLineEdit::tr(source))
                action->setObjectName(QLatin1String(name));
        }
    }
}

} // namespace

CHexEdit::CHexEdit(QWidget *parent)
    : QLineEdit(parent)
    , m_limitCharacters(DefaultLimitCharacters)
{
    // A plain edit control takes no dropped text; pasting is the one way to bring text in.
    setAcceptDrops(false);
}

void CHexEdit::SetHexBytes(const uint8_t *bytes, int count)
{
    if (bytes == nullptr)
        return;
    setText(BytesToHexText(bytes, count));
}

void CHexEdit::SetHexBytes(const QByteArray &bytes)
{
    setText(BytesToHexText(bytes));
}

void CHexEdit::SetHexValue(uint32_t value)
{
    const uint8_t bytes[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
    SetHexBytes(bytes, 4);
}

QByteArray CHexEdit::GetHexBytes() const
{
    return HexTextToBytes(text());
}

int CHexEdit::GetHexByteCount() const
{
    return int(text().size() / 2);
}

void CHexEdit::SetMaxBytes(int bytes)
{
    SetLimitText(bytes > 0 ? 2 * bytes : 0);
}

int CHexEdit::GetMaxBytes() const
{
    return (m_limitCharacters + 1) / 2;
}

void CHexEdit::SetLimitText(int characters)
{
    m_limitCharacters = characters > 0 ? characters : 0;
}

void CHexEdit::SetInputLocked(bool locked)
{
    m_inputLocked = locked;
}

int CHexEdit::room() const
{
    const int kept = int(text().size() - selectedText().size());
    return m_limitCharacters > kept ? m_limitCharacters - kept : 0;
}

bool CHexEdit::lockedKeyAllowed(const QKeyEvent *event) const
{
    // With Ctrl held a locked field still lets the operator select and copy; every key that
    // would change the text (paste, cut, undo, word deletion) is refused.
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll))
        return true;
    const int key = event->key();
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Home || key == Qt::Key_End
        || key == Qt::Key_C;
}

void CHexEdit::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Left || key == Qt::Key_Right || isModifierKey(key)) {
        QLineEdit::keyPressEvent(event);
        return;
    }

    if (event->modifiers().testFlag(Qt::ControlModifier)) {
        if (m_inputLocked && !lockedKeyAllowed(event)) {
            event->accept();
            return;
        }
        if (event->matches(QKeySequence::Paste)) {
            // The paste goes through the character limit like typing.
            pasteClipboard();
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
        return;
    }

    if (m_inputLocked) {
        event->accept();
        return;
    }
    if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
        QLineEdit::keyPressEvent(event);
        return;
    }

    const QString typed = event->text();
    if (typed.size() == 1 && IsHexDigit(typed.at(0))) {
        if (room() < 1) {
            event->accept();
            return;
        }
        const QChar character = typed.at(0);
        if (character >= u'A' && character <= u'F') {
            // Typed letters are shown in lower case.
            QKeyEvent lower(event->type(), key, event->modifiers() & ~Qt::ShiftModifier, typed.toLower(),
                            event->isAutoRepeat(), ushort(event->count()));
            QLineEdit::keyPressEvent(&lower);
            return;
        }
        QLineEdit::keyPressEvent(event);
        return;
    }
    // Every other key (blank, punctuation, letters beyond f, Home, End, Shift+Insert, ...).
    event->accept();
}

void CHexEdit::pasteClipboard()
{
    insertFromMimeData(QGuiApplication::clipboard()->text());
}

void CHexEdit::insertFromMimeData(const QString &text)
{
    if (m_inputLocked)
        return;
    // A single-line field takes the first line of the pasted text.
    QString line = text;
    const qsizetype lineEnd = line.indexOf(QRegularExpression(QStringLiteral("[\\r\\n]")));
    if (lineEnd >= 0)
        line.truncate(lineEnd);
    line.truncate(room());
    if (line.isEmpty() && !hasSelectedText())
        return;
    insert(line);
}

void CHexEdit::contextMenuEvent(QContextMenuEvent *event)
{
    // A locked field's menu is built as for a read-only field: copy and select-all only.
    const bool wasReadOnly = isReadOnly();
    if (m_inputLocked)
        setReadOnly(true);
    QMenu *menu = createStandardContextMenu();
    if (m_inputLocked)
        setReadOnly(wasReadOnly);
    menu->setAttribute(Qt::WA_DeleteOnClose);

    // The menu's paste goes through the same limit as Ctrl+V.
    nameStandardActions(menu);
    for (QAction *action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-paste")) {
            action->disconnect();
            connect(action, &QAction::triggered, this, &CHexEdit::pasteClipboard);
        }
    }
    menu->popup(event->globalPos());
    event->accept();
}

void CHexEdit::mouseReleaseEvent(QMouseEvent *event)
{
    // The X11 middle-button paste is a paste too: limited, and refused when locked.
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        if (!m_inputLocked)
            insertFromMimeData(QGuiApplication::clipboard()->text(QClipboard::Selection));
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void CHexEdit::inputMethodEvent(QInputMethodEvent *event)
{
    // Composed text obeys the typing rules: hex digits only, lower case, within the limit.
    if (m_inputLocked) {
        event->accept();
        return;
    }
    QString committed;
    for (const QChar character : event->commitString()) {
        if (IsHexDigit(character))
            committed.append(character.toLower());
    }
    committed.truncate(room());
    QInputMethodEvent filtered(QString(), {});
    filtered.setCommitString(committed);
    QLineEdit::inputMethodEvent(&filtered);
}
