#include "reporting/MessageCatalogue.h"

#include "base/LanguageText.h"

#include <array>

namespace {

// Message i is entry i; texts keep their blanks and full-width colon exactly.
const std::array<LanguageText, MessageCount> Messages = {{
    {"呼叫成功", "Communication successful"}, // 0
    {"呼叫失败,   错误代码：0x%02x", "Communication failed,   Error Code：0x%02x"}, // 1
    {"设备正在连接中....", "Connecting"}, // 2
    {"操作成功", "Communication successful"}, // 3
    {" ,函数: ", " ,function: "}, // 4
    {"端口未打开", "Port did't opened"}, // 5
    {"寻卡操作成功", "OK"}, // 6
    {"请在密钥区输入6个字节的密钥", "Input 6 bytes in key text please!"}, // 7
    {"请在数据区输入数据", "Input date please!"}, // 8
    {"初始化钱包操作成功", "OK"}, // 9
    {"充值操作成功", "OK"}, // 10
    {"扣款操作成功", "OK"}, // 11
    {"读余款操作成功", "OK"}, // 12
    {"读卡操作成功", "OK"}, // 13
    {"你确实需要写入第3块号的数据吗?此操作有可能造成卡的不可用!", "Be sure to write block3!"}, // 14
    {"写卡操作成功", "OK"}, // 15
    {"内存不足", "Not Enough Memory"}, // 16
    {"没有修改数据", "No change data"}, // 17
    {"数据失败", "Failed"}, // 18
    {"请在密码区输满8个字节的密码!", "Input 8 byte in key text please!"}, // 19
    {"验证操作成功", "OK"}, // 20
    {"请在LOCK区输满4个字节!", "Input 4 byte in Lock text please!"}, // 21
    {"LOCK操作成功", "OK"}, // 22
    {"请在签名区输满6个字节!", "Input 6 byte in Signature text please!"}, // 23
    {"记数操作成功", "OK"}, // 24
    {"读Page: %d 页发生错误!", "Read Page: %d error!"}, // 25
    {"DESELECT操作成功", "OK"}, // 26
    {"Gc区需要8个Bytes!!", "GInput 8 byte in Gc text please!"}, // 27
    {"Q0区需要8个Bytes!!", "Input 8 byte in Q0 text please!"}, // 28
    {"Configuration zone需要3个Byte 的密码!!", "Input 3 byte key please!"}, // 29
    {"没有修改数据", "No change data"}, // 30
    {"cos命令不得少于5字节!", "Cos command must be more than 5 bytes!"}, // 31
    {"复位操作成功", "OK"}, // 32
    {"UID的值不是8个Byte,请检查数据的正确性!", "UID length error!"}, // 33
    {"Get Information操作成功", "OK"}, // 34
    {"DSFID的值不能为空!", "Input data in DSFID text please!"}, // 35
    {"ISO15693_Write_DSFID操作成功", "OK"}, // 36
    {"ISO15693_Lock_DSFID 操作成功", "OK"}, // 37
    {"AFI的值不能为空!", "Input data in AFI text please!"}, // 38
    {"ISO15693_Write_AFI 操作成功", "OK"}, // 39
    {"ISO15693_Lock_AFI 操作成功", "OK"}, // 40
    {"ISO15693_Inventorys操作成功", "OK"}, // 41
    {"发送操作成功", "OK"}, // 42
    {"请在密钥区需要有8或16个字节的密文", "Input 8 or 16 byte in key text please!"}, // 43
    {"数据区数据长度必需8个字节的整数倍", "Data length in data area must be multiple of 8 bytes!"}, // 44
    {"确实要修改密码吗?", "Be sure to change key?"}, // 45
    {"请输入密码", "Input key please"}, // 46
    {"星期 %d ", "week %d "}, // 47
    {"连接设备失败", "Connect failed"}, // 48
    {"连接操作成功", "Connect successful"}, // 49
    {"读取产品信息操作成功", "OK"}, // 50
    {"读取设备标记操作成功", "OK"}, // 51
    {"请输满2个字节的设备标记", "Input 2 byte in DeveicID text please!"}, // 52
    {"写入设备标记操作成功", "OK"}, // 53
    {"设置蜂鸣时间操作成功", "OK"}, // 54
    {"设置天线状态操作成功", "OK"}, // 55
    {"设置指示灯颜色操作成功", "OK"}, // 56
    {"读Block: %d 页发生错误!", "Read block: %d error!"}, // 57
    {"你确定需要进行块锁定操作?", "Be sure to lock?"}, // 58
    {"块锁定操作成功", "OK"}, // 59
    {"读取UID成功", "OK"}, // 60
    {"Srf55vp_Read 操作成功", "OK"}, // 61
    {"Srf55vp_Write_Reread 操作成功", "OK"}, // 62
    {"断开操作成功", "Disconnect succeddful"}, // 63
    {"打开端口连接失败", "Opend port failed"}, // 64
    {"Page0数据区需要8个Bytes!", "Input 8 byte in page0 text please!"}, // 65
    {"Page1数据区需要40个Bytes!", "Input 40 byte in page1 text please!"}, // 66
    {"Page2数据区需要8个Bytes!", "Input 8 byte in page2 text please!"}, // 67
    {"Page3数据区需要8个Bytes!", "Input 8 byte in page3 text please!"}, // 68
}};

} // namespace

QString Message(int number)
{
    if (number < 0 || number >= MessageCount)
        return {};
    return Tr(Messages[std::size_t(number)]);
}

QString Message(int number, int argument)
{
    // The formats take one integer: "%d" or "%02x".
    const QByteArray format = Message(number).toUtf8();
    return QString::asprintf(format.constData(), argument);
}
