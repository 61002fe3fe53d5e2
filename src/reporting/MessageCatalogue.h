#pragma once

#include <QString>

// The program's messages in both languages, one line each in catalogue order: the name pages
// cite it by, its Chinese text and its English text. Texts keep their blanks, odd spellings and
// the full-width colon exactly. Several messages share a text (many successes read "OK"); each
// keeps its own name, after what it reports.
// clang-format off
#define VORNEX_MESSAGES(X) \
    X(CallSucceeded, "呼叫成功", "Communication successful") /* the log pane's status of a call */ \
    X(CallFailedWithCode, "呼叫失败,   错误代码：0x%02x", "Communication failed,   Error Code：0x%02x") \
    X(Connecting, "设备正在连接中....", "Connecting") \
    X(OperationSucceeded, "操作成功", "Communication successful") \
    X(FunctionLabel, " ,函数: ", " ,function: ") \
    X(PortNotOpened, "端口未打开", "Port did't opened") \
    X(RequestSucceeded, "寻卡操作成功", "OK") \
    X(KeyNeedsSixBytes, "请在密钥区输入6个字节的密钥", "Input 6 bytes in key text please!") \
    X(ValueNeeded, "请在数据区输入数据", "Input date please!") \
    X(PurseInitialized, "初始化钱包操作成功", "OK") \
    X(PurseIncremented, "充值操作成功", "OK") \
    X(PurseDecremented, "扣款操作成功", "OK") \
    X(BalanceRead, "读余款操作成功", "OK") \
    X(CardRead, "读卡操作成功", "OK") \
    X(ConfirmTrailerWrite, "你确实需要写入第3块号的数据吗?此操作有可能造成卡的不可用!", "Be sure to write block3!") \
    X(CardWritten, "写卡操作成功", "OK") \
    X(NotEnoughMemory, "内存不足", "Not Enough Memory") \
    X(NoMemoryChanged, "没有修改数据", "No change data") \
    X(DataFailed, "数据失败", "Failed") \
    X(PasswordNeedsEightBytes, "请在密码区输满8个字节的密码!", "Input 8 byte in key text please!") \
    X(PasswordChecked, "验证操作成功", "OK") \
    X(LockNeedsFourBytes, "请在LOCK区输满4个字节!", "Input 4 byte in Lock text please!") \
    X(LockSucceeded, "LOCK操作成功", "OK") \
    X(SignatureNeedsSixBytes, "请在签名区输满6个字节!", "Input 6 byte in Signature text please!") \
    X(CountSucceeded, "记数操作成功", "OK") \
    X(ReadPageError, "读Page: %d 页发生错误!", "Read Page: %d error!") \
    X(DeselectSucceeded, "DESELECT操作成功", "OK") \
    X(GcNeedsEightBytes, "Gc区需要8个Bytes!!", "GInput 8 byte in Gc text please!") \
    X(Q0NeedsEightBytes, "Q0区需要8个Bytes!!", "Input 8 byte in Q0 text please!") \
    X(PasswordNeedsThreeBytes, "Configuration zone需要3个Byte 的密码!!", "Input 3 byte key please!") \
    X(NoRowChanged, "没有修改数据", "No change data") \
    X(CosCommandTooShort, "cos命令不得少于5字节!", "Cos command must be more than 5 bytes!") \
    X(ResetSucceeded, "复位操作成功", "OK") \
    X(UidLengthError, "UID的值不是8个Byte,请检查数据的正确性!", "UID length error!") \
    X(InformationRead, "Get Information操作成功", "OK") \
    X(DsfidNeeded, "DSFID的值不能为空!", "Input data in DSFID text please!") \
    X(DsfidWritten, "ISO15693_Write_DSFID操作成功", "OK") \
    X(DsfidLocked, "ISO15693_Lock_DSFID 操作成功", "OK") \
    X(AfiNeeded, "AFI的值不能为空!", "Input data in AFI text please!") \
    X(AfiWritten, "ISO15693_Write_AFI 操作成功", "OK") \
    X(AfiLocked, "ISO15693_Lock_AFI 操作成功", "OK") \
    X(InventorySucceeded, "ISO15693_Inventorys操作成功", "OK") \
    X(SendSucceeded, "发送操作成功", "OK") \
    X(KeyNeedsEightOrSixteenBytes, "请在密钥区需要有8或16个字节的密文", "Input 8 or 16 byte in key text please!") \
    X(DataNotMultipleOfEight, "数据区数据长度必需8个字节的整数倍", "Data length in data area must be multiple of 8 bytes!") \
    X(ConfirmPasswordChange, "确实要修改密码吗?", "Be sure to change key?") \
    X(PasswordNeeded, "请输入密码", "Input key please") \
    X(WeekDay, "星期 %d ", "week %d ") \
    X(ConnectFailed, "连接设备失败", "Connect failed") \
    X(ConnectSucceeded, "连接操作成功", "Connect successful") \
    X(ProductInformationRead, "读取产品信息操作成功", "OK") \
    X(DeviceNumberRead, "读取设备标记操作成功", "OK") \
    X(DeviceNumberNeedsTwoBytes, "请输满2个字节的设备标记", "Input 2 byte in DeveicID text please!") \
    X(DeviceNumberWritten, "写入设备标记操作成功", "OK") \
    X(BeepSet, "设置蜂鸣时间操作成功", "OK") \
    X(AntennaSet, "设置天线状态操作成功", "OK") \
    X(LightSet, "设置指示灯颜色操作成功", "OK") \
    X(ReadBlockError, "读Block: %d 页发生错误!", "Read block: %d error!") \
    X(ConfirmBlockLock, "你确定需要进行块锁定操作?", "Be sure to lock?") \
    X(BlockLocked, "块锁定操作成功", "OK") \
    X(UidRead, "读取UID成功", "OK") \
    X(Srf55vPagesRead, "Srf55vp_Read 操作成功", "OK") \
    X(Srf55vPagesWritten, "Srf55vp_Write_Reread 操作成功", "OK") \
    X(DisconnectSucceeded, "断开操作成功", "Disconnect succeddful") \
    X(OpenPortFailed, "打开端口连接失败", "Opend port failed") \
    X(Page0NeedsEightBytes, "Page0数据区需要8个Bytes!", "Input 8 byte in page0 text please!") \
    X(Page1NeedsFortyBytes, "Page1数据区需要40个Bytes!", "Input 40 byte in page1 text please!") \
    X(Page2NeedsEightBytes, "Page2数据区需要8个Bytes!", "Input 8 byte in page2 text please!") \
    X(Page3NeedsEightBytes, "Page3数据区需要8个Bytes!", "Input 8 byte in page3 text please!")
// clang-format on

// A message of the catalogue; its value is the message's number.
enum class Msg : int {
#define VORNEX_MESSAGE_NAME(name, chinese, english) name,
    VORNEX_MESSAGES(VORNEX_MESSAGE_NAME)
#undef VORNEX_MESSAGE_NAME
};

inline constexpr int MessageCount = 0
#define VORNEX_MESSAGE_COUNT(name, chinese, english) +1
    VORNEX_MESSAGES(VORNEX_MESSAGE_COUNT)
#undef VORNEX_MESSAGE_COUNT
    ;
static_assert(MessageCount == 69 && int(Msg::Page3NeedsEightBytes) == 68);

// The message in the current language; empty for a value outside the catalogue.
QString Message(Msg message);
// A message that is a printf-style format with one integer argument (CallFailedWithCode,
// ReadPageError, WeekDay, ReadBlockError).
QString Message(Msg message, int argument);
