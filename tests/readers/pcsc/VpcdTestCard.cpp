// A card for the virtual-reader driver of pcscd (vpcd), to try the PC/SC reader library against a
// real pcscd by hand; the simulator's card server takes its place for the end-to-end tests.
//
//   vpcd_test_card PORT mifare|processor|contact
//
// It connects to vpcd on 127.0.0.1:PORT and answers as a Mifare 1K behind a contactless reader
// (class-FF commands: GET DATA, LOAD KEYS, GENERAL AUTHENTICATE with key FFFFFFFFFFFF, READ and
// UPDATE BINARY of 64 blocks), a type A processor card or a contact card (an APDU answered
// 90 00 with its own header echoed). The protocol: every message both ways is a 2-byte
// big-endian length and that many bytes; a 1-byte message from vpcd is a control (0 power off,
// 1 on, 2 reset, 4 "send the ATR"), a longer one a command APDU.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

bool readAll(int socket, uint8_t *into, std::size_t count)
{
    while (count > 0) {
        // Delayed ACKs would cost some 40 ms per APDU, since vpcd sends length and APDU apart.
        const int on = 1;
        setsockopt(socket, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
        const ssize_t got = recv(socket, into, count, 0);
        if (got <= 0)
            return false;
        into += got;
        count -= std::size_t(got);
    }
    return true;
}

bool send(int socket, const Bytes &message)
{
    Bytes framed{uint8_t(message.size() >> 8), uint8_t(message.size())};
    framed.insert(framed.end(), message.begin(), message.end());
    return ::send(socket, framed.data(), framed.size(), 0) == ssize_t(framed.size());
}

struct Card {
    std::string kind;
    std::array<std::array<uint8_t, 16>, 64> blocks{};
    bool keyLoaded = false;
    int authenticatedSector = -1;

    Bytes atr() const
    {
        if (kind == "mifare")
            return {0x3B, 0x8F, 0x80, 0x01, 0x80, 0x4F, 0x0C, 0xA0, 0x00, 0x00, 0x03, 0x06, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x6A};
        if (kind == "processor")
            return {0x3B, 0x88, 0x80, 0x01, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x8F};
        return {0x3B, 0x02, 0x14, 0x50};
    }

    Bytes answer(const Bytes &apdu)
    {
        const auto ok = [](Bytes data) {
            data.push_back(0x90);
            data.push_back(0x00);
            return data;
        };
        if (apdu.size() >= 5 && apdu[0] == 0xFF && apdu[1] == 0xCA)
            return ok({0xA1, 0xB2, 0xC3, 0xD4});
        if (kind != "mifare" || apdu[0] != 0xFF)
            return ok(Bytes(apdu.begin(), apdu.begin() + std::min<std::size_t>(apdu.size(), 4)));
        if (apdu.size() == 11 && apdu[1] == 0x82) {
            keyLoaded = std::all_of(apdu.begin() + 5, apdu.end(), [](uint8_t b) { return b == 0xFF; });
            return ok({});
        }
        if (apdu.size() == 10 && apdu[1] == 0x86) {
            authenticatedSector = keyLoaded ? apdu[7] / 4 : -1;
            return keyLoaded ? ok({}) : Bytes{0x63, 0x00};
        }
        if (apdu.size() >= 5 && (apdu[1] == 0xB0 || apdu[1] == 0xD6) && apdu[3] < 64) {
            if (apdu[3] / 4 != authenticatedSector)
                return {0x69, 0x82};
            auto &block = blocks[apdu[3]];
            if (apdu[1] == 0xB0)
                return ok(Bytes(block.begin(), block.end()));
            if (apdu.size() != 21)
                return {0x67, 0x00};
            std::copy(apdu.begin() + 5, apdu.end(), block.begin());
            return ok({});
        }
        return {0x6A, 0x81};
    }
};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: vpcd_test_card PORT mifare|processor|contact\n");
        return 2;
    }
    Card card;
    card.kind = argv[2];
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(uint16_t(std::atoi(argv[1])));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(socket, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        std::perror("vpcd_test_card: connect");
        return 1;
    }
    const int on = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    for (;;) {
        uint8_t length[2];
        if (!readAll(socket, length, 2))
            return 0;
        Bytes message(std::size_t(length[0] << 8 | length[1]));
        if (!readAll(socket, message.data(), message.size()))
            return 0;
        if (message.size() == 1) {
            if (message[0] == 4 && !send(socket, card.atr()))
                return 0;
            if (message[0] == 0 || message[0] == 2)
                card.authenticatedSector = -1;
            continue;
        }
        if (!send(socket, card.answer(message)))
            return 0;
    }
}
