#include "Iso15693Frames.h"

#include "Iso15693Tag.h"
#include "StatusCode.h"

#include <algorithm>

namespace zentrava {

namespace {

namespace flag {
constexpr uint8_t Inventory = 0x04;
constexpr uint8_t Addressed = 0x20; // without the inventory flag
constexpr uint8_t Option = 0x40;    // without the inventory flag
} // namespace flag

namespace command {
constexpr uint8_t Inventory = 0x01;
constexpr uint8_t ReadSingle = 0x20;
constexpr uint8_t WriteSingle = 0x21;
constexpr uint8_t LockBlock = 0x22;
constexpr uint8_t ReadMultiple = 0x23;
constexpr uint8_t WriteAfi = 0x27;
constexpr uint8_t LockAfi = 0x28;
constexpr uint8_t WriteDsfid = 0x29;
constexpr uint8_t LockDsfid = 0x2A;
constexpr uint8_t SystemInformation = 0x2B;
constexpr uint8_t BlockSecurity = 0x2C;
} // namespace command

// The error codes of the standard that the tag's refusals correspond to.
namespace error {
constexpr uint8_t NotSupported = 0x01;
constexpr uint8_t FormatError = 0x02;
constexpr uint8_t BlockNotAvailable = 0x10;
constexpr uint8_t BlockLocked = 0x12;
constexpr uint8_t Unknown = 0x0F;
} // namespace error

Bytes refusal(uint8_t code)
{
    return Bytes{0x01, code};
}

Bytes fromStatus(int32_t result, const Bytes &data = {})
{
    if (result == status::AccessDenied)
        return refusal(error::BlockLocked);
    if (result == status::WrongParameter)
        return refusal(error::BlockNotAvailable);
    if (result != status::Ok)
        return refusal(error::Unknown);
    Bytes answer{0x00};
    answer.insert(answer.end(), data.begin(), data.end());
    return answer;
}

// The wire carries a UID least significant byte first; the tags keep it as it is shown.
Bytes reversed(Bytes uid)
{
    std::reverse(uid.begin(), uid.end());
    return uid;
}

// An addressed frame reaches the tag with its UID; any other the first tag of the field.
Iso15693Tag *target(const RfField &field, const Bytes &frame, std::size_t &parameters)
{
    const bool addressed = (frame[0] & flag::Addressed) != 0;
    parameters = addressed ? 2 + VicinityTag::UidBytes : 2;
    if (frame.size() < parameters)
        return nullptr;
    const auto uidStart = frame.begin() + 2;
    const Bytes uid = addressed ? reversed(Bytes(uidStart, uidStart + VicinityTag::UidBytes)) : Bytes{};
    return field.first<Iso15693Tag>([&](const Iso15693Tag &tag) { return !addressed || tag.uid() == uid; });
}

std::optional<Bytes> inventory(const RfField &field)
{
    // Flags, DSFID, UID; one slot, so the first tag of the field answers.
    const auto *tag = field.first<VicinityTag>();
    if (!tag)
        return std::nullopt;
    Bytes answer{0x00, tag->dsfid()};
    const Bytes uid = reversed(tag->uid());
    answer.insert(answer.end(), uid.begin(), uid.end());
    return answer;
}

// Each block, preceded by its security status when the option flag asks for it.
Bytes blocksWithSecurity(const Iso15693Tag &tag, int first, int count, bool withSecurity)
{
    Bytes blocks;
    if (const int32_t result = tag.read(first, count, blocks))
        return fromStatus(result);
    if (!withSecurity)
        return fromStatus(status::Ok, blocks);
    Bytes security;
    tag.blockSecurity(first, count, security);
    Bytes data;
    const auto blockSize = static_cast<std::size_t>(tag.blockSize());
    for (std::size_t block = 0; block < security.size(); ++block) {
        data.push_back(security[block]);
        data.insert(data.end(), blocks.begin() + static_cast<std::ptrdiff_t>(block * blockSize),
                    blocks.begin() + static_cast<std::ptrdiff_t>((block + 1) * blockSize));
    }
    return fromStatus(status::Ok, data);
}

} // namespace

std::optional<Bytes> Iso15693Frames::answer(RfField &field, const Bytes &frame)
{
    if (!field.powers(RadioMode::Iso15693) || frame.size() < 2)
        return std::nullopt;
    const uint8_t flags = frame[0];
    const uint8_t code = frame[1];
    if (flags & flag::Inventory)
        return code == command::Inventory ? inventory(field) : std::nullopt;

    std::size_t at = 0;
    Iso15693Tag *tag = target(field, frame, at);
    if (!tag)
        return std::nullopt;
    const auto parameter = [&frame, at](std::size_t index) -> std::optional<uint8_t> {
        return at + index < frame.size() ? std::optional<uint8_t>(frame[at + index]) : std::nullopt;
    };
    const bool option = (flags & flag::Option) != 0;
    const auto first = parameter(0), second = parameter(1);

    switch (code) {
    case command::ReadSingle:
        return first ? blocksWithSecurity(*tag, *first, 1, option) : refusal(error::FormatError);
    case command::ReadMultiple:
        return first && second ? blocksWithSecurity(*tag, *first, *second + 1, option) : refusal(error::FormatError);
    case command::WriteSingle:
        if (!first || frame.size() != at + 1 + static_cast<std::size_t>(tag->blockSize()))
            return refusal(error::FormatError);
        return fromStatus(tag->write(*first, frame.data() + at + 1));
    case command::LockBlock:
        return first ? fromStatus(tag->lockBlock(*first)) : refusal(error::FormatError);
    case command::WriteAfi:
        return first ? fromStatus(tag->writeAfi(*first)) : refusal(error::FormatError);
    case command::LockAfi:
        return fromStatus(tag->lockAfi());
    case command::WriteDsfid:
        return first ? fromStatus(tag->writeDsfid(*first)) : refusal(error::FormatError);
    case command::LockDsfid:
        return fromStatus(tag->lockDsfid());
    case command::SystemInformation: {
        Bytes information = tag->systemInformation();
        std::reverse(information.begin() + 1, information.begin() + 1 + VicinityTag::UidBytes);
        return fromStatus(status::Ok, information);
    }
    case command::BlockSecurity: {
        if (!first || !second)
            return refusal(error::FormatError);
        Bytes security;
        const int32_t result = tag->blockSecurity(*first, *second + 1, security);
        return fromStatus(result, security);
    }
    default:
        return refusal(error::NotSupported);
    }
}

} // namespace zentrava
