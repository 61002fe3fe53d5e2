#include "reader/ReaderWait.h"

#include <QThread>

namespace {

void sleepMilliseconds(int milliseconds)
{
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

ReaderWaitHandler &waitHandler()
{
    static ReaderWaitHandler handler = sleepMilliseconds;
    return handler;
}

} // namespace

void ReaderWait(int milliseconds)
{
    waitHandler()(milliseconds);
}

ReaderWaitHandler SetReaderWaitHandler(ReaderWaitHandler handler)
{
    ReaderWaitHandler previous = std::move(waitHandler());
    waitHandler() = handler ? std::move(handler) : ReaderWaitHandler(sleepMilliseconds);
    return previous;
}
