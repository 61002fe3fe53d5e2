#include "HostileAnswerPlan.h"

#include <algorithm>
#include <array>

namespace {

// A one-byte length cannot say more.
constexpr int LongestByteLength = 255;

// Answer sizes the cards of the library give most often: a byte, a type answer, a serial
// number, a page, a clock, a UID, a system information, a block.
constexpr std::array<int, 8> LikelySizes = {1, 2, 4, 7, 8, 8, 15, 16};

} // namespace

HostileAnswerPlan::HostileAnswerPlan(uint32_t seed)
    : m_random(seed)
{
}

void HostileAnswerPlan::script(const QString &name, std::vector<Kind> kinds)
{
    m_script[name].insert(m_script[name].end(), kinds.begin(), kinds.end());
}

void HostileAnswerPlan::install(FakeReader &reader)
{
    reader.setAnswerPlan([this](const FakeReader::Offer &offer) { return answer(offer); });
}

HostileAnswerPlan::Kind HostileAnswerPlan::drawKind()
{
    // Half of the calls answer plausibly, so that operations of several calls get far.
    const int draw = int(m_random() % 10);
    if (draw < 5)
        return Kind::Plausible;
    return std::array{Kind::LongestLength, Kind::Overlong, Kind::Garbage, Kind::RandomStatus,
                      Kind::EmptySuccess}[std::size_t(draw - 5)];
}

QByteArray HostileAnswerPlan::randomBytes(int count)
{
    QByteArray bytes(std::max(count, 0), '\0');
    for (char &byte : bytes)
        byte = char(m_random() & 0xFF);
    return bytes;
}

FakeReader::Answer HostileAnswerPlan::answer(const FakeReader::Offer &offer)
{
    Kind kind = Kind::Plausible;
    auto scripted = m_script.find(offer.name);
    if (scripted != m_script.end() && !scripted->second.empty()) {
        kind = scripted->second.front();
        scripted->second.pop_front();
    } else {
        kind = drawKind();
    }

    // What a byte length lets the library write at most, and the most it can claim.
    const int room = offer.reportsLength ? std::min(offer.bufferBytes, LongestByteLength) : offer.bufferBytes;
    const int claim = offer.reportsLength ? LongestByteLength : offer.bufferBytes;
    FakeReader::Answer answer;
    switch (kind) {
    case Kind::Plausible: {
        answer = FakeReader::naturalAnswer(offer.name);
        if (answer.data.isEmpty() && room > 0) {
            const int likely = offer.reportsLength ? LikelySizes[m_random() % LikelySizes.size()] : room;
            answer.data = randomBytes(std::min(likely, room));
        }
        answer.value = int64_t(m_random() % 1000);
        break;
    }
    case Kind::LongestLength:
        answer = {0, randomBytes(room), claim, int64_t(int32_t(m_random()))};
        break;
    case Kind::Overlong:
        answer = {0, randomBytes(room),
                  room < claim ? room + 1 + int(m_random() % uint32_t(claim - room)) : claim,
                  int64_t(int32_t(m_random()))};
        break;
    case Kind::Garbage: {
        const int count = room > 0 ? int(m_random() % uint32_t(room + 1)) : 0;
        answer = {0, randomBytes(count), -1, int64_t(int32_t(m_random()))};
        break;
    }
    case Kind::RandomStatus: {
        int32_t status = 0;
        while (status == 0)
            status = int32_t(m_random());
        // Small statuses are what readers give; any value may come, -1 too.
        const uint32_t choice = m_random() % 4;
        if (choice < 2)
            status = int32_t(1 + m_random() % 0xFF);
        else if (choice == 2)
            status = -1;
        const int count = room > 0 ? int(m_random() % uint32_t(room + 1)) : 0;
        answer = {status, randomBytes(count), -1, int64_t(int32_t(m_random()))};
        break;
    }
    case Kind::EmptySuccess:
        answer = {0, {}, 0, 0};
        break;
    }
    return answer;
}
