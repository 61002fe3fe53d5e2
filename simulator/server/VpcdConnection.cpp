#include "VpcdConnection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zentrava {

bool VpcdConnection::connect()
{
    close();
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(m_port);
    if (inet_pton(AF_INET, m_host.c_str(), &address.sin_addr) != 1)
        return false;
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return false;
    if (::connect(socket, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        ::close(socket);
        return false;
    }
    // vpcd sends a length and its APDU apart: Nagle's algorithm here and delayed ACKs on every
    // receive would cost some 40 ms per APDU.
    const int on = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    m_socket = socket;
    return true;
}

void VpcdConnection::close()
{
    if (m_socket >= 0)
        ::close(m_socket);
    m_socket = -1;
}

bool VpcdConnection::readAll(uint8_t *into, std::size_t count)
{
    while (count > 0) {
        const int on = 1;
        setsockopt(m_socket, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
        const ssize_t got = recv(m_socket, into, count, 0);
        if (got <= 0)
            return false;
        into += got;
        count -= std::size_t(got);
    }
    return true;
}

std::optional<Bytes> VpcdConnection::receive()
{
    uint8_t length[2];
    Bytes message;
    if (m_socket >= 0 && readAll(length, 2)) {
        message.resize(std::size_t(length[0] << 8 | length[1]));
        if (readAll(message.data(), message.size()))
            return message;
    }
    close();
    return std::nullopt;
}

bool VpcdConnection::send(const Bytes &message)
{
    if (m_socket < 0 || message.size() > 0xFFFF)
        return false;
    Bytes framed{uint8_t(message.size() >> 8), uint8_t(message.size())};
    framed.insert(framed.end(), message.begin(), message.end());
    if (::send(m_socket, framed.data(), framed.size(), MSG_NOSIGNAL) == ssize_t(framed.size()))
        return true;
    close();
    return false;
}

} // namespace zentrava
