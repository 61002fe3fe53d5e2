#include "shell/CAboutDlg.h"

#include "dialogs/DialogBuilder.h"
#include "base/ProgramDirectory.h"
#include "shell/AppConfig.h"

#include <QAbstractButton>
#include <QLabel>

namespace {

// Template 100. Its own texts never show: the dialog overwrites them when it opens.
const DialogTemplate AboutTemplate = {100, 235, 129, {
    {UnaddressedControlId, ControlKind::Frame, 7, 7, 221, 92, ""},
    {1097, ControlKind::Label, 14, 14, 207, 16, "Version"},
    {1098, ControlKind::Label, 14, 34, 207, 16, "Company"},
    {1099, ControlKind::Label, 14, 54, 207, 16, "Web"},
    {1100, ControlKind::Label, 14, 74, 207, 16, "Copyright"},
    {1, ControlKind::Button, 92, 106, 50, 14, "确定", DefaultButton},
}};

struct AboutLine {
    int id;
    int configIndex;
};

const AboutLine AboutLines[] = {
    {1097, AppConfigAboutVersion},
    {1098, AppConfigAboutLtd},
    {1099, AppConfigHttp},
    {1100, AppConfigCopyright},
};

} // namespace

CAboutDlg::CAboutDlg(QWidget *parent)
    : CAboutDlg(ProgramFilePath(QStringLiteral("AppConfig.ini")), parent)
{
}

CAboutDlg::CAboutDlg(const QString &configPath, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("id100"));
    const DialogBuilder builder;
    builder.build(AboutTemplate, this);
    setFixedSize(builder.templateSize(AboutTemplate));

    setWindowTitle(ReadAppConfigFrom(configPath, AppConfigAboutTitle));
    for (const AboutLine &line : AboutLines) {
        if (auto *label = findChild<QLabel *>(DialogBuilder::objectName(line.id)))
            label->setText(ReadAppConfigFrom(configPath, line.configIndex));
    }
    if (auto *ok = findChild<QAbstractButton *>(DialogBuilder::objectName(1)))
        connect(ok, &QAbstractButton::clicked, this, &QDialog::accept);
}
