#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdint>
#include <vector>

// Presses every button of every page (the card table's pages and the port page, the buttons of
// each page's template) with plausible field contents, under a reader library that lies by a
// seeded plan, and checks that each press ends in the reports the operation owes.
struct HostileRunFigures {
    int seeds = 0;
    int pages = 0;
    long operations = 0;
    std::chrono::milliseconds time{0};
    // One line per press whose reports were wrong: page, button, seed and what happened.
    QStringList failures;
};

HostileRunFigures RunHostileDriver(const std::vector<uint32_t> &seeds);
