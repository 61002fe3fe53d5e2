#pragma once

#include "consoles/CConsolePage.h"

// The console of an ISO 7816 processor card in the reader's contact slot ("CPU Card"): Reset
// powers the card and shows its answer to reset, Send transmits one APDU and lists the
// response. Its command book is "cpubooks.txt".
class CCpuCardPage : public CConsolePage
{
    Q_OBJECT
public:
    explicit CCpuCardPage(QWidget *parent = nullptr);

    // Dialog template 148.
    static const DialogTemplate &dialogTemplate();

private:
    void reset();
    void send();
};
