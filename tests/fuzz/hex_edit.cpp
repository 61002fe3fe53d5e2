// The hex entry field under an operator's keys, pastes and composed text: one operation per
// step, and after each the field holds only what the rules let in.
#include "FuzzHarness.h"

#include "controls/CHexEdit.h"
#include "controls/HexCodec.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>

#include <algorithm>
#include <cctype>

namespace {

bool isHexText(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 128 && std::isxdigit(c.unicode()); });
}

void press(CHexEdit &edit, int key, Qt::KeyboardModifiers modifiers, const QString &text = {})
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&edit, &event);
}

constexpr int Keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End, Qt::Key_Backspace, Qt::Key_Delete,
                        Qt::Key_Space, Qt::Key_Shift, Qt::Key_Insert};
constexpr int ControlKeys[] = {Qt::Key_A, Qt::Key_C, Qt::Key_V, Qt::Key_X, Qt::Key_Z, Qt::Key_Y,
                               Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Left, Qt::Key_K};

} // namespace

// The system's font library keeps allocations of its own for the life of the process.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

// Qt and its fonts start before the first input, so that no input pays for them.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    static int argc = 1;
    static char name[] = "fuzz_hex_edit", *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    [[maybe_unused]] static QApplication *const application = new QApplication(argc, argv);
    CHexEdit warmUp;
    warmUp.setText(QStringLiteral("00"));
    warmUp.sizeHint();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    fuzzharness::Input input(data, size);
    // Nothing of an earlier input stays on the clipboard.
    QGuiApplication::clipboard()->clear();
    CHexEdit edit;
    edit.SetMaxBytes(input.pick(20));
    // Whether everything that entered the field was hex text: a paste is taken unfiltered.
    bool onlyHexEntered = true;
    int steps = 0;
    while (!input.empty() && ++steps < 200) {
        const QString textBefore = edit.text();
        const int before = int(textBefore.size());
        const bool locked = edit.IsInputLocked();
        // Steps 0 to 4 are the operator's (keys, pastes, composed text); each keeps to the limit but
        // an undo, which brings back what was there, as the edit control does, limit or not.
        const int step = input.pick(9);
        bool keepsToLimit = step <= 4;
        switch (step) {
        case 0: { // a printable key, as the keyboard sends it
            const char character = char(input.byte() % 95 + 32);
            press(edit, character >= 'a' && character <= 'z' ? character - 32 : character, Qt::NoModifier,
                  QString(QLatin1Char(character)));
            break;
        }
        case 1: press(edit, Keys[input.pick(std::size(Keys))], Qt::NoModifier); break;
        case 2: {
            const int key = ControlKeys[input.pick(std::size(ControlKeys))];
            if (key == Qt::Key_V)
                onlyHexEntered = onlyHexEntered && isHexText(QGuiApplication::clipboard()->text());
            press(edit, key, Qt::ControlModifier);
            keepsToLimit = key != Qt::Key_Z && key != Qt::Key_Y;
            break;
        }
        case 3: { // a paste of text from elsewhere
            const QString text = QString::fromUtf8(input.take(input.pick(48)));
            onlyHexEntered = onlyHexEntered && isHexText(text);
            QGuiApplication::clipboard()->setText(text);
            edit.pasteClipboard();
            break;
        }
        case 4: { // composed text from an input method
            QInputMethodEvent event(QString(), {});
            event.setCommitString(QString::fromUtf8(input.take(input.pick(12))));
            QApplication::sendEvent(&edit, &event);
            break;
        }
        case 5: edit.SetMaxBytes(input.pick(20)); break;
        case 6: edit.SetInputLocked(input.byte() % 2 != 0); break;
        case 7: { // the program shows bytes
            const std::string_view bytes = input.take(input.pick(24));
            edit.SetHexBytes(reinterpret_cast<const uint8_t *>(bytes.data()), int(bytes.size()));
            FUZZ_CHECK(edit.GetHexBytes() == QByteArray(bytes.data(), qsizetype(bytes.size())));
            break;
        }
        case 8: edit.setSelection(input.pick(40), input.pick(40) - 20); break;
        }
        const QString text = edit.text();
        if (onlyHexEntered)
            FUZZ_CHECK(isHexText(text));
        // Keys, pastes and composed text never pass the limit, nor change a locked field.
        if (keepsToLimit && int(text.size()) > before)
            FUZZ_CHECK(int(text.size()) <= edit.GetLimitText() && !edit.IsInputLocked());
        // A locked field refuses every change the operator tries.
        if (locked && step <= 4)
            FUZZ_CHECK(text == textBefore);
        FUZZ_CHECK(edit.GetHexBytes().size() == (text.size() + 1) / 2);
        FUZZ_CHECK(edit.GetHexByteCount() == text.size() / 2);
    }
    return 0;
}
