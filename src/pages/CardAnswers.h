#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QTime>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The fields the pages read out of the reader's answers, apart from the widgets that show them.
// Each takes the bytes the reader said it returned, already cut to the buffer they came in.

// ReadTime's answer: seven BCD bytes, year in the century, month, day, week day, hour, minute,
// second. The week day is the reader's own and is shown as it comes.
struct ClockReading
{
    QDate date;
    QTime time;
    int weekDay = 0;
};
// Nothing for an answer of other than seven bytes, a digit that is not decimal or bytes that are
// no date and time.
std::optional<ClockReading> DecodeClock(std::span<const uint8_t> answer);

// rf_get_model's text: the answer up to its first zero byte.
QByteArray DecodeModelText(std::span<const uint8_t> answer);

// ISO15693_Get_System_Information's DSFID and AFI; nothing for an answer shorter than 12 bytes.
struct SystemInformation
{
    uint8_t dsfid = 0;
    uint8_t afi = 0;
};
std::optional<SystemInformation> DecodeSystemInformation(std::span<const uint8_t> answer);

// One ISO15693_Get_Block_Security answer appended to those before it, never beyond capacity
// bytes in all. False, and nothing appended, when it is not one byte per block asked for.
bool AppendBlockSecurity(std::vector<uint8_t> &security, std::size_t capacity, std::span<const uint8_t> answer,
                         int blockCount);

// ISO15693_Inventorys' records (a flags byte and an 8-byte UID each): the UIDs of the first
// maxTags whole records.
QList<QByteArray> DecodeInventory(std::span<const uint8_t> answer, int maxTags);
