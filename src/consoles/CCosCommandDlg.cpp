#include "consoles/CCosCommandDlg.h"

#include "consoles/CCommandBook.h"
#include "consoles/CTipListBox.h"
#include "dialogs/DialogBuilder.h"
#include "base/LanguageText.h"

#include <QAbstractButton>

namespace {

const DialogTemplate PickerTemplate = {CCosCommandDlg::TemplateId, 291, 333, {
    {CCosCommandDlg::LineListId, ControlKind::Custom, 7, 7, 277, 297, ""},
    {CCosCommandDlg::ClearButtonId, ControlKind::Button, 164, 311, 56, 15, "清除COS命令"},
    {CCosCommandDlg::ExitButtonId, ControlKind::Button, 228, 311, 56, 15, "退出"},
}};

const LanguageText PickerTitle = {"COS命令", "COS Command"};
const LanguageText ClearCaption = {"清除COS命令", "Clear"};
const LanguageText ExitCaption = {"退出", "Exit"};

} // namespace

CCosCommandDlg::CCosCommandDlg(CCommandBook &book, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_book(book)
{
    setObjectName(DialogBuilder::objectName(TemplateId));
    setModal(true);
    const DialogBuilder builder;
    builder.build(PickerTemplate, this);
    setFixedSize(builder.templateSize(PickerTemplate));

    m_lines = CTipListBox::inPlaceOf(findChild<QWidget *>(DialogBuilder::objectName(LineListId)));
    m_lines->SetItemHeight(ItemHeight_px);
    for (const BookLine &line : m_book.lines())
        m_lines->AddItem(QString::fromLatin1(line));

    setWindowTitle(Tr(PickerTitle));
    auto *clear = findChild<QAbstractButton *>(DialogBuilder::objectName(ClearButtonId));
    auto *exit = findChild<QAbstractButton *>(DialogBuilder::objectName(ExitButtonId));
    clear->setText(Tr(ClearCaption));
    exit->setText(Tr(ExitCaption));

    connect(m_lines, &CTipListBox::lineDoubleClicked, this, [this](const QString &text) {
        emit commandPicked(text);
        accept();
    });
    connect(clear, &QAbstractButton::clicked, this, [this] {
        m_book.ClearBook();
        m_lines->ResetItems();
    });
    connect(exit, &QAbstractButton::clicked, this, &QDialog::accept);
}

void CCosCommandDlg::RunPicker(CCommandBook &book, QWidget *owner, const PickedHandler &picked)
{
    CCosCommandDlg picker(book, owner);
    if (picked)
        connect(&picker, &CCosCommandDlg::commandPicked, &picker, picked);
    picker.exec();
}
