#include "consoles/CConsolePage.h"

#include "consoles/CTipListBox.h"
#include "controls/CHexEdit.h"
#include "controls/HexCodec.h"
#include "reporting/MessageCatalogue.h"
#include "reporting/UserPrompts.h"

CConsolePage::CConsolePage(const DialogTemplate &dialogTemplate, const ConsoleControls &controls, QWidget *parent)
    : CCardPage(dialogTemplate, parent)
    , m_book(CConsoleBook::BookPath(controls.bookFileName))
    , m_results(CTipListBox::inPlaceOf(control(controls.resultList)))
    , m_commandField(controls.commandField)
{
    m_results->EnableTip();
    onClicked(controls.pickerButton, [this] { m_book.RunPicker(this, hexEdit(m_commandField)); });
    onClicked(controls.clearButton, [this] { m_results->ResetItems(); });
}

QByteArray CConsolePage::commandBytes() const
{
    return hexEdit(m_commandField)->GetHexBytes();
}

void CConsolePage::listAnswer(const uint8_t *answer, int length)
{
    m_results->AddItem(BytesToHexText(answer, length));
}

void CConsolePage::refuseShortCommand()
{
    ShowMessageBox(this, Message(Msg::CosCommandTooShort), QStringLiteral("error"), MessageIcon::Error);
}
