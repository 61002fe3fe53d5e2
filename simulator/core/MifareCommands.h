#pragma once

#include <cstdint>

namespace zentrava {

struct SimulatedReader;

// ISO 14443A request and halt, which reach every type A card, and the Mifare Standard commands:
// anticollision and select take the first ready Mifare Standard card, the block and value
// commands the selected one. rf_M1_read also reads an UltraLight (any MifareReadable card).
struct MifareCommands {
    static int32_t request(SimulatedReader &reader, uint8_t mode, uint8_t *tagType);
    static int32_t anticollision(SimulatedReader &reader, uint8_t bitCount, uint8_t *serial, uint8_t *len);
    static int32_t select(SimulatedReader &reader, const uint8_t *serial, uint8_t serialLen, uint8_t *size);
    static int32_t halt(SimulatedReader &reader);
    static int32_t authenticate(SimulatedReader &reader, uint8_t mode, uint8_t block, const uint8_t *key);
    static int32_t read(SimulatedReader &reader, uint8_t block, uint8_t *data, uint8_t *len);
    static int32_t write(SimulatedReader &reader, uint8_t block, const uint8_t *data);
    static int32_t initValue(SimulatedReader &reader, uint8_t block, int32_t value);
    static int32_t readValue(SimulatedReader &reader, uint8_t block, int32_t *value);
    static int32_t decrement(SimulatedReader &reader, uint8_t block, int32_t amount);
    static int32_t increment(SimulatedReader &reader, uint8_t block, int32_t amount);
};

// The request codes of ISO 14443A: all cards, halted ones included, or idle ones only.
inline constexpr uint8_t RequestAll = 0x52;
inline constexpr uint8_t RequestIdle = 0x26;
inline bool isRequestMode(uint8_t mode)
{
    return mode == RequestAll || mode == RequestIdle;
}

} // namespace zentrava
