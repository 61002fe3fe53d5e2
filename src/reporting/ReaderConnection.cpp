#include "reporting/ReaderConnection.h"

#include "reader/RuntimeState.h"
#include "reporting/MessageCatalogue.h"
#include "reporting/ReaderOperation.h"
#include "reporting/Reporting.h"

using enum ReaderFunction;

void DisconnectReader()
{
    ReaderOperation{ReaderOperation::Continue{}}.callSilently<rf_close_com>();
    PortOpen = false;
}

bool ConnectReader(ConnectPlace place)
{
    if (place == ConnectPlace::PortPage) {
        BeginProcessLog();
        if (PortOpen) {
            DisconnectReader();
            ReportFailure(Message(Msg::ConnectFailed));
        }
    }
    const int32_t port = ComPort;
    const int32_t baud = CurrentBaudRate();
    ReaderOperation opening{ReaderOperation::MayHang{}};
    bool opened = false;
    switch (place) {
    case ConnectPlace::Startup: opened = opening.callLoggingOnly<rf_init_com>(port, baud); break;
    case ConnectPlace::Menu: opened = opening.callSilently<rf_init_com>(port, baud) == 0; break;
    case ConnectPlace::PortPage: opened = opening.call<rf_init_com>(port, baud); break;
    }
    if (opening.abandoned())
        return false;
    if (!opened) {
        DisconnectReader();
        if (place == ConnectPlace::Startup)
            ReportFailure(Message(Msg::PortNotOpened));
        else if (place == ConnectPlace::Menu)
            ReportFailure(Message(Msg::OpenPortFailed));
        return true;
    }
    PortOpen = true;
    if (place == ConnectPlace::PortPage)
        ReportConnection(port, baud);
    if (place != ConnectPlace::Startup)
        ReportSuccess(Message(Msg::ConnectSucceeded));
    return true;
}
