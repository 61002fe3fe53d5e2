#pragma once

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QEventLoop;

// One reader call that may never come back (a library hanging in rf_init_com). It runs on a
// thread of its own while the event loop goes on, so that the windows still paint and the main
// frame can still be closed. Meanwhile the operator's keys and clicks are held back, so that the
// library is never entered twice at once. A call that never returns is abandoned, never joined:
// its thread ends with the process.
class BackgroundReaderCall : public QObject
{
    Q_OBJECT
public:
    explicit BackgroundReaderCall(std::function<int32_t()> call);
    ~BackgroundReaderCall() override;

    // Runs the event loop until the call returns (its status) or abandon() (no status).
    std::optional<int32_t> wait();
    // Ends wait() without a status; the status, should it come later, is dropped.
    void abandon();

    // Whether a call started here has not returned yet: the library must stay loaded.
    static bool anyRunning();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Shared;
    void finish(int32_t status);

    std::shared_ptr<Shared> m_shared;
    QEventLoop *m_loop = nullptr;
    std::optional<int32_t> m_status;
    bool m_done = false;
};
