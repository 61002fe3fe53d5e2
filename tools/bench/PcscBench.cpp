#include "InProcessBench.h"

#include "PcscRig.h"

#include "reader/ReaderApi.h"
#include "reader/ReaderLibrary.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <winscard.h>

#include <algorithm>
#include <cstdio>
#include <vector>

void RunPcscApduBench(int runs, const QString &scenarioFile)
{
    std::printf("\nPC/SC: one APDU (GET CHALLENGE) to the contact reader's virtual card, median of %d each (ms)\n", runs);
    PcscRig rig(QCoreApplication::applicationDirPath().toStdString(), scenarioFile.toStdString());
    if (const std::string problem = rig.start(); !problem.empty()) {
        std::printf("skipped: %s\n", problem.c_str());
        return;
    }
    qputenv("ZENTRAVA_PCSC_CONTACT", PcscRig::Contact);
    ReaderLibrary library;
    SCARDCONTEXT context = 0;
    SCARDHANDLE card = 0;
    DWORD protocol = 0;
    if (!library.load(ReaderLibrary::pathFor(QStringLiteral("pcsc")))
        || ReaderApi.rf_init_com(rig.portOf(PcscRig::Contactless), 14400) != 0
        || SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &context) != SCARD_S_SUCCESS
        || SCardConnect(context, PcscRig::Contact, SCARD_SHARE_SHARED, SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1, &card,
                        &protocol) != SCARD_S_SUCCESS) {
        std::printf("skipped: the PC/SC library or the contact reader could not be opened\n");
        return;
    }
    const uint8_t challenge[] = {0x00, 0x84, 0x00, 0x00, 0x08};
    uint8_t answer[258];
    uint8_t length = 0;
    const SCARD_IO_REQUEST io{protocol, sizeof(SCARD_IO_REQUEST)};
    std::vector<double> throughVornex;
    std::vector<double> direct;
    bool failed = ReaderApi.smartcard_rst(0, answer, &length) != 0;
    // Taken in turns, so that a busy moment of the machine weighs on both alike; the first
    // rounds warm both paths up and are not counted.
    constexpr int WarmUp = 5;
    for (int run = -WarmUp; run < runs && !failed; ++run) {
        QElapsedTimer timer;
        timer.start();
        failed = ReaderApi.smartcard_cos(0, challenge, sizeof challenge, answer, &length) != 0 || length != 10;
        const double vornexMs = double(timer.nsecsElapsed()) / 1e6;
        DWORD received = sizeof answer;
        timer.restart();
        failed = failed
            || SCardTransmit(card, &io, challenge, sizeof challenge, nullptr, answer, &received) != SCARD_S_SUCCESS
            || received != 10;
        if (run >= 0) {
            throughVornex.push_back(vornexMs);
            direct.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
    }
    SCardDisconnect(card, SCARD_LEAVE_CARD);
    SCardReleaseContext(context);
    ReaderApi.rf_close_com();
    if (failed) {
        std::printf("failed: the card did not answer the APDU\n");
        return;
    }
    const double vornex = Median(throughVornex);
    const double plain = Median(direct);
    std::printf("%-34s %10.3f\n%-34s %10.3f\n%-34s %10.3f   (target at most 1.05)\n", "smartcard_cos (PC/SC library)", vornex,
                "SCardTransmit directly", plain, "ratio", plain > 0 ? vornex / plain : 0.0);
    AddTarget("one APDU through the PC/SC library (ms)", vornex, plain, 1.05, "SCardTransmit directly");
    std::fflush(stdout);
}
