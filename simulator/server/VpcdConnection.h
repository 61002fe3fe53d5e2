#pragma once

#include "HexText.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zentrava {

// The card's end of one virtual reader of pcscd's vpcd driver: a TCP connection to the port
// vpcd listens on. A card lies on that reader while the connection is up. Every message both
// ways is a 2-byte big-endian length and that many bytes; a 1-byte message from vpcd is a
// control (VpcdControl), a longer one a command APDU.
class VpcdConnection {
public:
    VpcdConnection(std::string host, uint16_t port) : m_host(std::move(host)), m_port(port) {}
    ~VpcdConnection() { close(); }
    VpcdConnection(const VpcdConnection &) = delete;
    VpcdConnection &operator=(const VpcdConnection &) = delete;

    uint16_t port() const { return m_port; }
    bool connected() const { return m_socket >= 0; }
    // The socket to wait on while connected, -1 otherwise.
    int descriptor() const { return m_socket; }
    // Lays the card on the reader; false when vpcd does not listen (pcscd not running).
    bool connect();
    // Takes the card away.
    void close();
    // The next message, once the socket is readable; null when vpcd closed the connection (it
    // is closed here too).
    std::optional<Bytes> receive();
    bool send(const Bytes &message);

private:
    bool readAll(uint8_t *into, std::size_t count);

    std::string m_host;
    uint16_t m_port;
    int m_socket = -1;
};

// vpcd's controls.
enum class VpcdControl : uint8_t { PowerOff = 0, PowerOn = 1, Reset = 2, SendAtr = 4 };

} // namespace zentrava
