#include "pages/CAt1608Page.h"

#include "base/BytePointer.h"
#include "base/SecureAuthCipher.h"
#include "controls/CHexEdit.h"
#include "controls/CHexGrid.h"
#include "reporting/MessageCatalogue.h"
#include "reporting/ReaderOperation.h"
#include "reporting/UserPrompts.h"

#include <QPainter>

#include <algorithm>
#include <array>

namespace {

using enum ReaderFunction;
using enum CAt1608Page::ControlId;

// The configuration zone is zone 8 to the reader; its secure code is password 7.
constexpr int ConfigurationZone = 8;
constexpr uint8_t SecureCodeIndex = 7;
constexpr int ConfigurationBytes = 128;
constexpr int ConfigurationPiece_bytes = 8;
// Only the first 8 changed bytes of the configuration zone are written at a time.
constexpr int ConfigurationWriteMax_bytes = 8;
constexpr uint8_t CryptogramAddress = 0x28;
constexpr int UserZoneBytes = 256;
constexpr int SecretBytes = 8;
constexpr int PasswordBytes = 3;
constexpr int AnswerToResetBytes = 4;

// Moved together by the width layout, in this order.
constexpr int LaidOutControls[] = {
    ResetGroup, AnswerField, ResetButton, FuseGroup, FuseField, ReadFuseButton, BlowFuseButton,
    AuthenticationGroup, GcLabel, GcField, Q0Label, Q0Field, InitializeButton, AuthenticateButton,
    ConfigurationLabel, ConfigurationGrid, SecureCodeLabel, SecureCodeField, SpareSetList, UserZoneLabel,
    UserGrid, PasswordLabel, PasswordField, PasswordSetList, ReadConfigurationButton,
    WriteConfigurationButton, ReadUserZoneButton, WriteUserZoneButton, ConfigurationAddressLabel,
    ZoneLabel, ZoneList, UserAddressLabel,
};

DialogTemplate buildTemplate()
{
    using K = ControlKind;
    return DialogTemplate{151, 561, 342, {
        {ResetGroup, K::GroupBox, 7, 24, 136, 40, "Reset"},
        {AnswerField, K::HexEdit, 16, 40, 60, 12, ""},
        {ResetButton, K::Button, 84, 39, 50, 14, {"复位", "Reset"}},
        {FuseGroup, K::GroupBox, 7, 74, 136, 40, "Fuses"},
        {FuseField, K::HexEdit, 16, 90, 24, 12, "", Locked},
        {ReadFuseButton, K::Button, 46, 89, 42, 14, {"读取", "Read"}},
        {BlowFuseButton, K::Button, 92, 89, 42, 14, {"熔断", "Fuse"}},
        {AuthenticationGroup, K::GroupBox, 7, 124, 136, 84, "Authentication"},
        {GcLabel, K::Label, 16, 142, 14, 8, "Gc"},
        {GcField, K::HexEdit, 32, 140, 102, 12, ""},
        {Q0Label, K::Label, 16, 160, 14, 8, "Q0"},
        {Q0Field, K::HexEdit, 32, 158, 102, 12, ""},
        {InitializeButton, K::Button, 16, 182, 56, 14, {"初始化", "Initialize"}, Hidden},
        {AuthenticateButton, K::Button, 78, 182, 56, 14, {"验证", "Authenticate"}},
        {ConfigurationLabel, K::Label, 166, 6, 100, 8, "Configuration Zone"},
        {ConfigurationGrid, K::HexGrid, 166, 28, 240, 84, ""},
        {SecureCodeLabel, K::Label, 436, 28, 60, 8, "Secure code"},
        {SecureCodeField, K::HexEdit, 436, 40, 40, 12, ""},
        {SpareSetList, K::DropList, 500, 40, 40, 120, "", Hidden},
        {ConfigurationAddressLabel, K::Label, 500, 28, 30, 8, "Addr", Hidden},
        {ReadConfigurationButton, K::Button, 436, 60, 50, 14, {"读卡", "Read"}},
        {WriteConfigurationButton, K::Button, 436, 78, 50, 14, {"写卡", "Write"}},
        {UserZoneLabel, K::Label, 166, 122, 100, 8, "User Zone"},
        {UserGrid, K::HexGrid, 166, 144, 240, 162, ""},
        {ZoneLabel, K::Label, 436, 146, 40, 8, "Zone"},
        {ZoneList, K::DropList, 482, 144, 40, 120, ""},
        {PasswordLabel, K::Label, 436, 166, 40, 8, "Password"},
        {PasswordField, K::HexEdit, 436, 178, 40, 12, ""},
        {PasswordSetList, K::DropList, 482, 178, 40, 120, ""},
        {UserAddressLabel, K::Label, 436, 196, 30, 8, "Addr", Hidden},
        {ReadUserZoneButton, K::Button, 436, 270, 50, 14, {"读卡", "Read"}},
        {WriteUserZoneButton, K::Button, 436, 290, 50, 14, {"写卡", "Write"}},
    }};
}

// Sizes a grid for exactly 16 cells a line, whatever its cells per row, and `lines` lines, each
// as high as its row label (the labels divide the grid's height less 3 pixels).
void fitGrid(CHexGrid *grid, int lines)
{
    const QSize hint = grid->sizeHint();
    const int characterWidth_px = (hint.width() - 4) / (grid->model().cellsPerRow() * HexGridModel::CellCharacters);
    const int lineHeight_px = (hint.height() - 4) / grid->model().rowsPerPage();
    grid->resize(16 * HexGridModel::CellCharacters * characterWidth_px + 4, lines * lineHeight_px + 3);
}

SecureAuth::Block firstEight(const uint8_t *bytes)
{
    SecureAuth::Block block{};
    std::copy_n(bytes, block.size(), block.begin());
    return block;
}

} // namespace

CAt1608Page::CAt1608Page(QWidget *parent)
    : CCardPage(dialogTemplate(), parent)
    , m_configurationGrid(control<CHexGrid>(ConfigurationGrid))
    , m_userGrid(control<CHexGrid>(UserGrid))
{
    initialise();
    onClicked(ResetButton, [this] { reset(); });
    onClicked(ReadFuseButton, [this] { readFuse(); });
    onClicked(BlowFuseButton, [this] { blowFuse(); });
    onClicked(AuthenticateButton, [this] { authenticate(); });
    onClicked(ReadConfigurationButton, [this] { readConfiguration(); });
    onClicked(WriteConfigurationButton, [this] { writeConfiguration(); });
    onClicked(ReadUserZoneButton, [this] { readUserZone(); });
    onClicked(WriteUserZoneButton, [this] { writeUserZone(); });
}

const DialogTemplate &CAt1608Page::dialogTemplate()
{
    static const DialogTemplate dialogTemplate = buildTemplate();
    return dialogTemplate;
}

void CAt1608Page::initialise()
{
    // 128 bytes (16 rows of 8 cells) shown as 8 lines of 16; 256 bytes as 16 lines.
    m_configurationGrid->SetGeometry(16, 8);
    m_configurationGrid->SetGridFont(false);
    m_configurationGrid->SetData({});
    m_userGrid->SetGeometry(16, 16);
    m_userGrid->SetGridFont(false);
    m_userGrid->SetData({});
    fitGrid(m_configurationGrid, 8);
    fitGrid(m_userGrid, 16);
    for (int group : {FuseGroup, AuthenticationGroup, ResetGroup})
        addCaptionFrame(group);
    for (int set = 0; set < 8; ++set) {
        addListItem(SpareSetList, QStringLiteral("W%1").arg(set), set);
        addListItem(SpareSetList, QStringLiteral("R%1").arg(set), 50 + set);
        addListItem(PasswordSetList, QStringLiteral("W%1").arg(set), set);
        addListItem(PasswordSetList, QStringLiteral("R%1").arg(set), 8 + set);
        addListItem(ZoneList, QString::number(set), set);
    }
    for (int list : {SpareSetList, PasswordSetList, ZoneList})
        selectListIndex(list, 0);
    hexEdit(GcField)->SetMaxBytes(SecretBytes);
    hexEdit(Q0Field)->SetMaxBytes(SecretBytes);
    hexEdit(SecureCodeField)->SetMaxBytes(PasswordBytes);
    hexEdit(PasswordField)->SetMaxBytes(PasswordBytes);
    hexEdit(AnswerField)->SetMaxBytes(AnswerToResetBytes);
    hexEdit(FuseField)->SetInputLocked(true);
    setContentHeight(height());
}

void CAt1608Page::layoutForWidth(int /*screenWidth*/)
{
    m_laidOut = true;
    centre();
}

void CAt1608Page::centre()
{
    const QRect left = controlRect(ResetGroup);
    const QRect right = controlRect(PasswordSetList);
    const int dx = (width() - (right.x() + right.width() - left.x())) / 2 - left.x();
    for (int id : LaidOutControls)
        control(id)->move(control(id)->pos() + QPoint(dx, 0));
    for (int group : {FuseGroup, AuthenticationGroup, ResetGroup})
        addCaptionFrame(group).setRect(controlRect(group));
    const QRect write = controlRect(WriteUserZoneButton);
    const int bottom = write.y() + write.height() + 50;
    // The page still covers the view when its controls end higher, so that the background
    // reaches the view's bottom; when they end lower it grows to keep them all.
    resize(width(), std::max(height(), bottom));
    setContentHeight(bottom);
}

void CAt1608Page::resizeEvent(QResizeEvent *event)
{
    CCardPage::resizeEvent(event);
    // The view reaches its final width after the page was laid out: the controls stay centred.
    if (m_laidOut)
        centre();
}

void CAt1608Page::paintPage(QPainter &painter)
{
    static const QString Columns = QStringLiteral("000102030405060708090A0B0C0D0E0F");
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    painter.setPen(PageTextColour);
    for (const auto &[grid, rows] : {std::pair{m_configurationGrid, 8}, std::pair{m_userGrid, 16}}) {
        const QRect area = grid->geometry();
        const int cellWidth = (area.width() - 3) / 16;
        for (int column = 0; column < 16; ++column)
            painter.drawText(QRect(area.x() + 3 + column * cellWidth, area.y() - 20, cellWidth, 20), flags,
                             Columns.mid(2 * column, 2));
        const int rowHeight = (area.height() - 3) / rows;
        for (int row = 0; row < rows; ++row)
            painter.drawText(QRect(area.x() - 20, area.y() + 3 + row * rowHeight, 20, rowHeight), flags,
                             QStringLiteral("%1").arg(16 * row, 2, 16, QLatin1Char('0')).toUpper());
    }
}

// Every zone operation opens with the port check and the password of its field presented to the
// card under the password set `index`; a password shorter than its 3 bytes is refused first.
bool CAt1608Page::presentPassword(ReaderOperation &op, int field, uint8_t index)
{
    if (!op.requirePortOpen())
        return false;
    const QByteArray password = hexEdit(field)->GetHexBytes();
    if (password.size() < PasswordBytes) {
        ShowMessageBox(this, Message(Msg::PasswordNeedsThreeBytes), QStringLiteral("Error"), MessageIcon::Error);
        return false;
    }
    return op.call<AT1608_VerifyPassword>(0, index, BytePointer(password));
}

void CAt1608Page::reset()
{
    ReaderOperation op;
    if (!op.requirePortOpen() || !op.call<OpenCard>(0))
        return;
    AnswerBuffer answer{};
    if (!op.call<AT1608_Rst>(0, answer.data()))
        return;
    hexEdit(AnswerField)->SetHexBytes(answer.data(), AnswerToResetBytes);
    op.succeed(Message(Msg::OperationSucceeded));
}

void CAt1608Page::readFuse()
{
    hexEdit(FuseField)->clear();
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    uint8_t fuse = 0;
    if (!op.call<AT1608_ReadFuse1>(0, &fuse))
        return;
    hexEdit(FuseField)->SetHexBytes(&fuse, 1);
    op.succeed(Message(Msg::OperationSucceeded));
}

void CAt1608Page::blowFuse()
{
    ReaderOperation op;
    if (op.requirePortOpen() && op.call<AT1608_WriteFuse1>(0))
        op.succeed(Message(Msg::OperationSucceeded));
}

void CAt1608Page::authenticate()
{
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    const QByteArray gc = hexEdit(GcField)->GetHexBytes();
    if (gc.size() < SecretBytes) {
        ShowMessageBox(this, Message(Msg::GcNeedsEightBytes), QStringLiteral("Error"), MessageIcon::Error);
        return;
    }
    const QByteArray q0 = hexEdit(Q0Field)->GetHexBytes();
    if (q0.size() < SecretBytes) {
        ShowMessageBox(this, Message(Msg::Q0NeedsEightBytes), QStringLiteral("Error"), MessageIcon::Error);
        return;
    }
    AnswerBuffer cryptogram{};
    if (!op.call<AT1608_Read>(0, CryptogramAddress, SecretBytes, ConfigurationZone, cryptogram.data()))
        return;
    const SecureAuth::Block q0Block = firstEight(BytePointer(q0));
    const SecureAuth::Block response = SecureAuthCipher(firstEight(cryptogram.data()), firstEight(BytePointer(gc)), q0Block);
    std::array<uint8_t, 2 * SecretBytes> challengeAndResponse{};
    std::copy(q0Block.begin(), q0Block.end(), challengeAndResponse.begin());
    std::copy(response.begin(), response.end(), challengeAndResponse.begin() + SecretBytes);
    if (op.call<AT1608_Authenticate>(0, challengeAndResponse.data(), response.data()))
        op.succeed(Message(Msg::OperationSucceeded));
}

void CAt1608Page::readConfiguration()
{
    ReaderOperation op;
    if (!presentPassword(op, SecureCodeField, SecureCodeIndex))
        return;
    std::array<uint8_t, ConfigurationBytes> zone{};
    for (int address = 0; address < ConfigurationBytes; address += ConfigurationPiece_bytes) {
        AnswerBuffer piece{};
        // A piece the card refuses shows as zeros; the others are still read.
        if (op.callLoggingOnly<AT1608_Read>(0, uint8_t(address), ConfigurationPiece_bytes, ConfigurationZone,
                                            piece.data()))
            std::copy_n(piece.begin(), ConfigurationPiece_bytes, zone.begin() + address);
    }
    m_configurationGrid->SetDataBytes(zone.data(), int(zone.size()));
    op.succeed(Message(Msg::OperationSucceeded));
}

void CAt1608Page::writeConfiguration()
{
    ReaderOperation op;
    if (!presentPassword(op, SecureCodeField, SecureCodeIndex))
        return;
    const QByteArray changed = m_configurationGrid->GetModifiedBytes();
    if (changed.isEmpty()) {
        op.fail(Message(Msg::NoRowChanged));
        return;
    }
    const int count = std::min<int>(int(changed.size()), ConfigurationWriteMax_bytes);
    const auto address = uint8_t(m_configurationGrid->GetFirstModifiedByte());
    if (!op.call<AT1608_Write>(0, address, ConfigurationZone, BytePointer(changed), count))
        return;
    m_configurationGrid->ResetModifiedRange();
    op.succeed(Message(Msg::OperationSucceeded));
}

void CAt1608Page::readUserZone()
{
    ReaderOperation op;
    if (!presentPassword(op, PasswordField, uint8_t(selectedItemData(PasswordSetList))))
        return;
    AnswerBuffer zone{};
    if (!op.call<AT1608_Read>(0, uint8_t(0), UserZoneBytes, selectedItemData(ZoneList), zone.data())) {
        // Zeros, and no change marks left that a write could send over the card's data.
        m_userGrid->SetData({});
        return;
    }
    m_userGrid->SetDataBytes(zone.data(), UserZoneBytes);
    op.succeed(Message(Msg::OperationSucceeded));
}

void CAt1608Page::writeUserZone()
{
    ReaderOperation op;
    if (!presentPassword(op, PasswordField, uint8_t(selectedItemData(PasswordSetList))))
        return;
    const QByteArray changed = m_userGrid->GetModifiedBytes();
    if (changed.isEmpty()) {
        op.fail(Message(Msg::NoRowChanged));
        return;
    }
    const auto address = uint8_t(m_userGrid->GetFirstModifiedByte());
    if (!op.call<AT1608_Write>(0, address, selectedItemData(ZoneList), BytePointer(changed),
                               int(changed.size())))
        return;
    m_userGrid->ResetModifiedRange();
    op.succeed(Message(Msg::OperationSucceeded));
}
