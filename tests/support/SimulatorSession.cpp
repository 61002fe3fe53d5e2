#include "SimulatorSession.h"

#include "reader/ReaderApi.h"
#include "reader/RuntimeState.h"

#include <QFile>
#include <QSaveFile>

#include <gtest/gtest.h>

SimulatorSession::~SimulatorSession()
{
    if (PortOpen && ReaderApi.rf_close_com != nullptr)
        ReaderApi.rf_close_com();
}

bool SimulatorSession::start(const char *scenario, bool openPort)
{
    const QString path = qEnvironmentVariable("ZENTRAVA_SCENARIO");
    if (path.isEmpty()) {
        ADD_FAILURE() << "the tests run with a private scenario file (ZENTRAVA_SCENARIO)";
        return false;
    }
    if (scenario == nullptr) {
        QFile::remove(path);
    } else {
        // Replaced by rename, so that the reader sees a new file.
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(scenario) < 0 || !file.commit()) {
            ADD_FAILURE() << "cannot write the scenario " << path.toStdString();
            return false;
        }
    }
    if (!m_library.load(ReaderLibrary::defaultPath())) {
        ADD_FAILURE() << "cannot load " << ReaderLibrary::defaultPath().toStdString();
        return false;
    }
    PortOpen = false;
    if (!openPort)
        return true;
    const int32_t status = ReaderApi.rf_init_com(1, 14400);
    if (status != 0) {
        ADD_FAILURE() << "the simulated reader refused COM1: status " << status;
        return false;
    }
    PortOpen = true;
    return true;
}
