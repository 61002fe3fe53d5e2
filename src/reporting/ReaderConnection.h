#pragma once

// The three places that open the reader's port share one flow: rf_init_com with ComPort and the
// rate of BaudRate, made through the installed HangingCallWaiter (a library that never answers
// leaves the program painted and closable), the port closed again when it fails, and PortOpen
// set to the outcome. They differ only in what they tell the operator.
enum class ConnectPlace {
    // Start-up: the log pane keeps rf_init_com's line; a failure says "Port did't opened".
    Startup,
    // The menu's Connect: nothing logged; "Connect successful" or "Opend port failed".
    Menu,
    // The port page's Connect, an operation of its own: an open port is dropped first and that
    // is reported ("Connect failed"); rf_init_com is logged and a failure reported as its call;
    // a connection is shown in the information bar with "Connect successful".
    PortPage,
};

// False only when the wait was given up (the main window was closed meanwhile); nothing is then
// logged or reported.
bool ConnectReader(ConnectPlace place);

// Closes the port, neither logged nor reported (a call trace still holds it), and clears PortOpen.
void DisconnectReader();
