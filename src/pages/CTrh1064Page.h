#pragma once

#include "pages/CCardPage.h"

#include <cstdint>

class ReaderOperation;

// The page of "TRH1064", a type B tag of four pages (8, 40, 8 and 8 bytes): searches for the
// tag, authenticates with its 8-byte key, reads or writes one page and shows the access rights
// that the configuration byte of page 0 grants, in check boxes the operator cannot change.
class CTrh1064Page : public CCardPage
{
    Q_OBJECT
public:
    explicit CTrh1064Page(QWidget *parent = nullptr);

    // Dialog template 159.
    static const DialogTemplate &dialogTemplate();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void searchCard();
    void authenticate();
    void readPage();
    void writePage();
    void clearPageFields();
    void showAccessRights(uint8_t configuration);
    void clearAccessRights();
};
