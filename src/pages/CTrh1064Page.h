#pragma once

#include "pages/CCardPage.h"

#include <array>
#include <cstdint>

class ReaderOperation;

// The page of "TRH1064", a type B tag of four pages (8, 40, 8 and 8 bytes): searches for the
// tag, authenticates with its 8-byte key, reads or writes one page and shows the access rights
// that the configuration byte of page 0 grants, in check boxes the operator cannot change.
class CTrh1064Page : public CCardPage
{
    Q_OBJECT
public:
    // The page's controls.
    enum ControlId : int {
        SerialLabel = 1245,
        SerialField = 1056,
        SearchButton = 1010,
        KeyLabel = 1246,
        KeyField = 1057,
        AuthenticateButton = 1011,
        PageLabel = 1247,
        PageList = 1248,
        ReadButton = 1063,
        WriteButton = 1064,
        Page0Field = 1058,
        Page2Field = 1066,
        Page3Field = 1067,
        // The access rights, one check box each.
        Page0Read = 1249,
        Page0Write = 1250,
        Page1Read = 1251,
        Page1Write = 1252,
        Page2Read = 1257,
        Page2Write = 1258,
        Page2Key = 1259,
        Page3Read = 1260,
        Page3Write = 1261,
        Page3AuthDecrement = 1262,
        Page3AuthRead = 1263,
        Page3AuthWrite = 1264,
    };
    // Page 1's 40 bytes, 8 in each field.
    static constexpr std::array<int, 5> Page1Fields = {1059, 1060, 1061, 1062, 1065};

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
