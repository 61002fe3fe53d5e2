#pragma once

#include <array>

// Which entries of the "Choose Card" menu a build keeps (true) or deletes (false). A build for
// another reader model changes this table only.
struct CardMenuFlag {
    int commandId;
    bool keep;
};

struct CardMenuFlags {
    std::array<CardMenuFlag, 6> iso14443a;
    std::array<CardMenuFlag, 5> iso14443b;
    std::array<CardMenuFlag, 4> iso15693;
    // AT88SC1608, CPU Card, then the seven AT24Cxx entries.
    std::array<CardMenuFlag, 9> iso7816;
    bool sam;
    bool passThrough;
};

inline constexpr int PassThroughCommandId = 32814;

// This build's flags.
extern const CardMenuFlags CardMenuEnabled;
