#pragma once

#include "FakeReader.h"

#include <QString>

#include <cstdint>
#include <deque>
#include <map>
#include <random>
#include <vector>

// A reader library that lies: installed as the recording reader's answer plan, it answers every
// call with one of the kinds below, drawn from a seeded generator or scripted per function. It
// writes only within the buffer the program offered; the lengths it reports need not.
class HostileAnswerPlan
{
public:
    enum class Kind {
        Plausible,     // status 0 and an answer of a likely size (the natural one where known)
        LongestLength, // status 0, the offered buffer filled, the largest length a byte can say
        Overlong,      // status 0, the offered buffer filled, a length beyond it where a byte can say one
        Garbage,       // status 0, random bytes of a random length within the buffer
        RandomStatus,  // a random non-zero status, with random bytes in the buffer
        EmptySuccess,  // status 0, no data, length 0
    };

    explicit HostileAnswerPlan(uint32_t seed);

    // The next calls of `name` take these kinds, in order; then the generator draws again.
    void script(const QString &name, std::vector<Kind> kinds);

    FakeReader::Answer answer(const FakeReader::Offer &offer);
    // Installs this plan into the reader for as long as both live.
    void install(FakeReader &reader);

private:
    Kind drawKind();
    QByteArray randomBytes(int count);

    std::mt19937 m_random;
    std::map<QString, std::deque<Kind>> m_script;
};
