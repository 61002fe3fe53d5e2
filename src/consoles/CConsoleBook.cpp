#include "consoles/CConsoleBook.h"

#include "consoles/CCosCommandDlg.h"
#include "controls/CHexEdit.h"
#include "controls/HexCodec.h"
#include "base/ProgramDirectory.h"

CConsoleBook::CConsoleBook(const QString &path)
    : m_path(path)
{
    m_book.LoadBook(m_path);
}

CConsoleBook::~CConsoleBook()
{
    SaveBook();
}

QString CConsoleBook::BookPath(const char *fileName)
{
    return ProgramDataFilePath(QString::fromLatin1(fileName));
}

void CConsoleBook::RecordCommand(const QByteArray &commandBytes)
{
    m_book.AddLine(BytesToHexText(commandBytes).toLower().toLatin1());
}

void CConsoleBook::RunPicker(QWidget *owner, CHexEdit *commandField)
{
    CCosCommandDlg::RunPicker(m_book, owner, [commandField](const QString &text) {
        if (commandField != nullptr)
            commandField->setText(PickedCommandText(text));
    });
}

QString CConsoleBook::PickedCommandText(const QString &text)
{
    QString lowered = text;
    for (QChar &character : lowered) {
        if (character >= u'A' && character <= u'Z')
            character = QChar(character.unicode() + (u'a' - u'A'));
    }
    return lowered;
}

bool CConsoleBook::SaveBook() const
{
    return m_book.SaveBook(m_path);
}
