#pragma once

#include <cstdint>

namespace zentrava {

struct SimulatedReader;

// What the reader's contact side answers: the contact slot (a processor card reset and
// addressed with APDUs, or an AT24Cxx or AT88SC1608 memory card powered by OpenCard), the SAM
// slot, and the SAM console's cipher tool, which runs in the library and needs no port.
struct ContactSlotCommands {
    // Powers the memory card in the contact slot, or finds the processor card there.
    static int32_t openCard(SimulatedReader &reader);
    static int32_t contactReset(SimulatedReader &reader, uint8_t *answer, uint8_t *len);
    static int32_t contactCommand(SimulatedReader &reader, const uint8_t *command, int32_t commandLen,
                                  uint8_t *response, uint8_t *len);
    static int32_t samInit(SimulatedReader &reader, uint8_t baudCode);
    static int32_t samReset(SimulatedReader &reader, uint8_t *answer, uint8_t *len);
    static int32_t samCommand(SimulatedReader &reader, const uint8_t *command, int32_t commandLen, uint8_t *response,
                              uint8_t *len);

    static int32_t at24Read(SimulatedReader &reader, int32_t address, int32_t count, uint8_t *data);
    static int32_t at24Write(SimulatedReader &reader, int32_t address, int32_t count, const uint8_t *data);
    static int32_t at1608Reset(SimulatedReader &reader, uint8_t *answer);
    static int32_t at1608Authenticate(SimulatedReader &reader, const uint8_t *q0AndResponse, const uint8_t *response);
    static int32_t at1608VerifyPassword(SimulatedReader &reader, uint8_t index, const uint8_t *password);
    static int32_t at1608Read(SimulatedReader &reader, uint8_t address, int32_t count, int32_t zone, uint8_t *data);
    static int32_t at1608Write(SimulatedReader &reader, uint8_t address, int32_t zone, const uint8_t *data,
                               int32_t count);
    static int32_t at1608ReadFuse(SimulatedReader &reader, uint8_t *fuse);
    static int32_t at1608BlowFuse(SimulatedReader &reader);

    // DES with an 8-byte key or two-key triple DES with a 16-byte one, ECB over whole blocks.
    static int32_t desEncrypt(SimulatedReader &reader, uint8_t *result, const uint8_t *data, int32_t dataLen,
                              const uint8_t *key, int32_t keyLen);
    static int32_t desDecrypt(SimulatedReader &reader, uint8_t *result, const uint8_t *data, int32_t dataLen,
                              const uint8_t *key, int32_t keyLen);
};

} // namespace zentrava
