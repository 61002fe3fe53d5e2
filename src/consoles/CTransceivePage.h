#pragma once

#include "consoles/CConsolePage.h"

// The "Test" page: puts the reader's radio into ISO 14443 type B or ISO 15693 mode and sends
// raw bytes to the card in the field, listing each answer. Its command book is
// "testcmdbooks.txt".
class CTransceivePage : public CConsolePage
{
    Q_OBJECT
public:
    explicit CTransceivePage(QWidget *parent = nullptr);

    // Dialog template 158.
    static const DialogTemplate &dialogTemplate();

private:
    void setMode();
    void transceive();
};
