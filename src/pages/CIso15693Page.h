#pragma once

#include "base/CardTypes.h"
#include "pages/CVicinityTagPage.h"

#include <array>
#include <cstdint>

class ReaderOperation;

// The page of the ISO 15693 tags "I.CODE SLI" and "Tag_it": inventory, system information,
// DSFID and AFI written and locked, the whole memory read with its block security into the
// grid, the changed blocks written back and a block locked.
class CIso15693Page : public CVicinityTagPage
{
    Q_OBJECT
public:
    // The page's controls.
    enum ControlId : int {
        InventoryButton = 1069,
        InformationButton = 1067,
        DsfidField = 1058,
        WriteDsfidButton = 1063,
        LockDsfidButton = 1064,
        AfiField = 1059,
        WriteAfiButton = 1065,
        LockAfiButton = 1068,
        BlockList = 1120,
        ReadButton = 1066,
        WriteButton = 1071,
        LockButton = 1072,
        Grid = 1196,
        GridScrollBar = 1155,
        StatusLabel = 1499,
        // The block security of grid row r in field FirstStatusField + r.
        FirstStatusField = 1500,
    };
    static constexpr std::array<int, 4> UidFields = {1201, 1084, 1085, 1086};

    explicit CIso15693Page(CardKind kind, QWidget *parent = nullptr);

    // Dialog template 146.
    static const DialogTemplate &dialogTemplate();

    void layoutForWidth(int screenWidth) override;

    int optionFlag() const { return m_optionFlag; }

protected:
    void gridPageShown(int page) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Profile {
        int blockCount;   // entries of the BLOCK list
        int zeroBlocks;   // blocks of zeros in the grid on opening
        int optionFlag;   // the flag the page opens with and Get Infomation leaves
        int statusFields; // status fields filled on grid pages after the first
    };
    static Profile profileOf(CardKind kind);

    void arrangeGridColumn();
    void centreControls();
    // 2 addresses the tag by its UID, 6 also sets the option flag.
    uint8_t modeByte() const { return m_optionFlag != 0 ? 6 : 2; }
    // The selected UID when it has at least (or, exactly) 8 bytes; otherwise UidLengthError.
    bool takeUid(QByteArray &uid, bool exactly);
    void getInformation();
    void writeDsfid();
    void lockDsfid();
    void writeAfi();
    void lockAfi();
    void readBlocks();
    void writeBlocks();
    void lockBlock();
    void refreshStatusFields(int page);

    Profile m_profile;
    int m_optionFlag;
    std::array<uint8_t, 300> m_blockSecurity{};
};
