#pragma once

#include <QDialog>

// The about box: its title and four lines come from AppConfig.ini, read anew at each opening.
class CAboutDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget *parent = nullptr);
    // The same from another configuration file.
    CAboutDlg(const QString &configPath, QWidget *parent = nullptr);
};
