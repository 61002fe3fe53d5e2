#pragma once

#include <QByteArray>

#include <cstdint>

class ReaderOperation;

// The steps that bring a card into the field and to the program's attention, shared by every
// page that needs them.

// The codes the ISO 14443 type A pages pass to the reader.
inline constexpr uint8_t RequestAll = 0x52;  // every card in the field, halted ones too
inline constexpr uint8_t RequestIdle = 0x26; // only cards that are not halted
inline constexpr uint8_t TypeA = 'A';        // rf_init_type: the type A radio mode

// The pauses of a field reset, in milliseconds. Pages differ: the Mifare Standard pages give
// the reader time after every step (20, 20, 50), the UltraLight page only after the radio type
// (0, 20, 0). Each page keeps the pauses its card family was proven with.
struct FieldResetWaits {
    int afterOff_ms;
    int afterType_ms;
    int afterOn_ms;
};

// Switches the field off, sets the radio type and switches the field on again, so that every
// card in it starts over, halted ones included. Each call is logged; false at the first failing
// one, which has been reported.
bool ResetField(ReaderOperation &operation, uint8_t radioType, FieldResetWaits waits);

// Request, anticollision and selection of a type A card; its 4-byte serial number on success.
// Each call is logged; false at the first failing one, which has been reported (an
// anticollision answer of another length than 4 bytes as "Error: 0 ,function: rf_anticoll").
bool SelectTypeACard(ReaderOperation &operation, uint8_t requestMode, QByteArray &serial);
