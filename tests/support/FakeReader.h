#pragma once

#include "reader/ReaderApi.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <vector>

// A recording reader for page tests: installs itself into ReaderApi for its lifetime, with every
// function of the list present, keeps every call (name, scalar arguments, input bytes) and
// answers from a script. Unscripted calls succeed with what the simulated reader's default
// field answers (a Mifare 4K card C0FFEE42, an UltraLight 04A1B2C3D4E5F6, the reader
// "ZT600F-SIM"). Naming a function that the list does not have fails the test.
class FakeReader
{
public:
    // One answer of one function: its status, the bytes it writes into the caller's answer
    // buffer, the length it reports (the byte count unless overridden) and, for value and
    // version functions, the value.
    struct Answer {
        int32_t status = 0;
        QByteArray data;
        int length = -1; // -1: data.size()
        int64_t value = 0;
    };

    struct Call {
        QString name;
        std::vector<int64_t> args;     // scalar arguments after the device index, in order
        QByteArray data;           // every input buffer the caller passed, one after another
    };

    // What the reader knows of a call's answer buffer when it asks an answer plan: how many
    // bytes the program's buffer holds by the library's contract (0: no answer buffer), and
    // whether a one-byte length goes back beside it.
    struct Offer {
        QString name;
        int bufferBytes = 0;
        bool reportsLength = false;
    };
    // Answers every call that nothing is scripted for, in place of the defaults (the hostile
    // reader of the robustness tests). Whatever it answers, the entry writes only within the
    // offered buffer; the length it reports may say more.
    using AnswerPlan = std::function<Answer(const Offer &)>;

    FakeReader();
    ~FakeReader();
    FakeReader(const FakeReader &) = delete;
    FakeReader &operator=(const FakeReader &) = delete;

    static FakeReader *instance();

    // Queues answers for the next calls of `name`, in order.
    void script(const QString &name, Answer answer);
    void scriptStatus(const QString &name, int32_t status) { script(name, Answer{status, {}, -1, 0}); }
    // The answer of `name` whenever nothing is queued.
    void setDefault(const QString &name, Answer answer);
    void setAnswerPlan(AnswerPlan plan) { m_plan = std::move(plan); }
    // The answer of `name` when neither a script nor a default is set.
    static Answer naturalAnswer(const QString &name);

    const std::vector<Call> &calls() const { return m_calls; }
    QStringList callNames() const;
    // Each call as "name(arguments) BYTES", the bytes being those the caller passed in.
    QStringList trace() const;
    std::vector<Call> callsTo(const QString &name) const;
    void clearCalls() { m_calls.clear(); }

    // Used by the entry points: records a call and returns its answer.
    Answer take(const QString &name, std::vector<int64_t> args, QByteArray data = {}) { return take(Offer{name}, args, data); }
    Answer take(const Offer &offer, std::vector<int64_t> args, QByteArray data);

private:
    static void requireKnown(const QString &name);

    ReaderApiTable m_saved;
    std::vector<Call> m_calls;
    std::map<QString, std::deque<Answer>> m_script;
    std::map<QString, Answer> m_defaults;
    AnswerPlan m_plan;
};
