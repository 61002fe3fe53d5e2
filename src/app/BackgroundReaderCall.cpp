#include "app/BackgroundReaderCall.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>

#include <atomic>
#include <mutex>
#include <thread>

namespace {

std::atomic<int> runningCalls{0};

bool isOperatorInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return true;
    default:
        return false;
    }
}

} // namespace

// What the call's thread shares with the object waiting for it: the receiver of the status,
// cleared when that object goes, so that a late status is posted to nobody.
struct BackgroundReaderCall::Shared {
    std::mutex mutex;
    BackgroundReaderCall *receiver = nullptr;
};

BackgroundReaderCall::BackgroundReaderCall(std::function<int32_t()> call)
    : m_shared(std::make_shared<Shared>())
{
    m_shared->receiver = this;
    ++runningCalls;
    std::thread([shared = m_shared, call = std::move(call)] {
        const int32_t status = call();
        --runningCalls;
        const std::lock_guard<std::mutex> lock(shared->mutex);
        if (BackgroundReaderCall *receiver = shared->receiver)
            QMetaObject::invokeMethod(receiver, [receiver, status] { receiver->finish(status); }, Qt::QueuedConnection);
    }).detach();
}

BackgroundReaderCall::~BackgroundReaderCall()
{
    const std::lock_guard<std::mutex> lock(m_shared->mutex);
    m_shared->receiver = nullptr;
}

std::optional<int32_t> BackgroundReaderCall::wait()
{
    if (!m_done) {
        QEventLoop loop;
        m_loop = &loop;
        QCoreApplication::instance()->installEventFilter(this);
        loop.exec();
        QCoreApplication::instance()->removeEventFilter(this);
        m_loop = nullptr;
    }
    return m_status;
}

void BackgroundReaderCall::abandon()
{
    m_done = true;
    if (m_loop != nullptr)
        m_loop->quit();
}

void BackgroundReaderCall::finish(int32_t status)
{
    if (m_done)
        return;
    m_status = status;
    m_done = true;
    if (m_loop != nullptr)
        m_loop->quit();
}

bool BackgroundReaderCall::anyRunning()
{
    return runningCalls.load() > 0;
}

bool BackgroundReaderCall::eventFilter(QObject *watched, QEvent *event)
{
    if (isOperatorInput(event->type()))
        return true;
    return QObject::eventFilter(watched, event);
}
