#include "reporting/MessageCatalogue.h"

#include "base/LanguageText.h"

#include <array>

namespace {

// Entry i is message i; both columns come from the list.
const std::array<LanguageText, MessageCount> Messages = {{
#define VORNEX_MESSAGE_TEXTS(name, chinese, english) {chinese, english},
    VORNEX_MESSAGES(VORNEX_MESSAGE_TEXTS)
#undef VORNEX_MESSAGE_TEXTS
}};

} // namespace

QString Message(Msg message)
{
    const int number = int(message);
    if (number < 0 || number >= MessageCount)
        return {};
    return Tr(Messages[std::size_t(number)]);
}

QString Message(Msg message, int argument)
{
    // The formats take one integer: "%d" or "%02x".
    const QByteArray format = Message(message).toUtf8();
    return QString::asprintf(format.constData(), argument);
}
