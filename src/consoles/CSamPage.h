#pragma once

#include "consoles/CConsolePage.h"

// The "SAM" page, in two halves. The DES half encrypts or decrypts up to 64 bytes with an 8- or
// 16-byte key through the reader library's cipher functions; it needs no port and leaves the
// log alone. The SAM half resets the module in the reader's SAM slot at the chosen rate and
// sends it commands, listing each response. Its command book is "samcosbooks.txt".
class CSamPage : public CConsolePage
{
    Q_OBJECT
public:
    explicit CSamPage(const DialogTemplate &dialogTemplate, QWidget *parent = nullptr);

    // Template 142 on a 640-pixel-wide screen, 140 on an 800-pixel one, 141 otherwise: the
    // narrower screens are also the shorter ones, so the answer list is shorter.
    static const DialogTemplate &dialogTemplate(int screenWidth);

private:
    void cipher(bool encrypt);
    void reset();
    void send();
};
