#pragma once

#include "pages/CCardPage.h"

#include "reporting/MessageCatalogue.h"

#include <QByteArray>

class ReaderOperation;

// The page of "AT88RF020", an ISO 14443 type B tag of 32 pages of 8 bytes: request B with the
// PUPI, password check, lock bytes, the counter with its signature, reading every page, writing
// one page and deselecting. Page 3 holds the tag's password: the page never reads, clears or
// shows it, so whatever the operator typed there stays.
class CAt88rf020Page : public CCardPage
{
    Q_OBJECT
public:
    // The page's controls.
    enum ControlId : int {
        PupiField = 1006,
        PasswordField = 1014,
        LockField = 1015,
        SignatureField = 1016,
        PageList = 1045,
        PageGroup = 1065,
        ReqBButton = 1011,
        CheckButton = 1012,
        LockButton = 1013,
        CountButton = 1043,
        ReadButton = 1044,
        WriteButton = 1046,
        DeselectButton = 1047,
        // Pages 0 to 2 in two fields each: PUPI and lock bytes, two halves, signature and counter.
        Page0PupiField = 1200,
        Page0LockField = 1201,
        Page1FirstHalfField = 1202,
        Page1SecondHalfField = 1203,
        Page2SignatureField = 1204,
        Page2CounterField = 1205,
    };
    // The one field of page p from page 3 on.
    static constexpr int pageField(int page) { return Page1SecondHalfField + page; }

    // The template follows the screen width: 134 at 640 pixels, 132 at 800, 133 otherwise.
    explicit CAt88rf020Page(int screenWidth, QWidget *parent = nullptr);

    static int templateIdForWidth(int screenWidth);
    // Dialog template 132, 133 or 134: the same controls, placed for the screen.
    static const DialogTemplate &dialogTemplate(int templateId);

private:
    void initialise();
    void requestB();
    // One antenna cycle and request B; false after reporting the failing step.
    bool activate(ReaderOperation &op, QByteArray &answer);
    void checkPassword();
    void lock();
    void count();
    void readCard();
    void writeCard();
    void deselect();
    void clearPageFields();
    void showPage(int page, const uint8_t *data);
    // A field must hold exactly `bytes`; otherwise the "Error" box with `message` says so.
    bool requireFieldBytes(int field, int bytes, Msg message);
};
