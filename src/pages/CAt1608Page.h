#pragma once

#include "pages/CCardPage.h"

#include <cstdint>

class CHexGrid;
class ReaderOperation;

// The page of the "AT88SC1608" secure memory card in the contact slot: reset, fuse, the card's
// mutual authentication (the answer computed here from Gc, the card's cryptogram and Q0), and
// the configuration zone and the eight user zones behind their passwords.
class CAt1608Page : public CCardPage
{
    Q_OBJECT
public:
    // The page's controls.
    enum ControlId : int {
        ResetGroup = 1179,
        AnswerField = 1178,
        ResetButton = 1063,
        FuseGroup = 1157,
        FuseField = 1056,
        ReadFuseButton = 1066,
        BlowFuseButton = 1067,
        AuthenticationGroup = 1158,
        GcLabel = 1159,
        Q0Label = 1160,
        GcField = 1058,
        Q0Field = 1059,
        InitializeButton = 1064,
        AuthenticateButton = 1065,
        ConfigurationLabel = 1161,
        ConfigurationGrid = 1162,
        SecureCodeLabel = 1164,
        SecureCodeField = 1060,
        SpareSetList = 1165,
        ConfigurationAddressLabel = 1176,
        ReadConfigurationButton = 1169,
        WriteConfigurationButton = 1170,
        UserZoneLabel = 1163,
        UserGrid = 1168,
        ZoneLabel = 1173,
        ZoneList = 1174,
        PasswordLabel = 1166,
        PasswordField = 1061,
        PasswordSetList = 1167,
        UserAddressLabel = 1175,
        ReadUserZoneButton = 1171,
        WriteUserZoneButton = 1172,
    };

    explicit CAt1608Page(QWidget *parent = nullptr);

    // Dialog template 151.
    static const DialogTemplate &dialogTemplate();

    // Centres the controls from the Reset frame to the password-set list.
    void layoutForWidth(int screenWidth) override;

protected:
    void paintPage(QPainter &painter) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void initialise();
    // Moves the controls horizontally into place for the page's width and sets the content height.
    void centre();
    void reset();
    void readFuse();
    void blowFuse();
    void authenticate();
    void readConfiguration();
    void writeConfiguration();
    void readUserZone();
    void writeUserZone();
    // The 3-byte code of a field, or a message box and false when fewer bytes were typed.
    bool presentPassword(ReaderOperation &op, int field, uint8_t index);

    CHexGrid *m_configurationGrid = nullptr;
    CHexGrid *m_userGrid = nullptr;
    bool m_laidOut = false;
};
