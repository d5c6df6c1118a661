#include "HostScriptTimers.h"

#include "BellwickError.h"
#include "HostNativeFunctions.h"
#include "HostScriptCall.h"

#include <QEventLoop>
#include <QScriptEngine>
#include <QTimer>

HostScriptTimers::HostScriptTimers(QObject* parent)
    : QObject(parent)
{
}

// Timers are children, so callbacks (and the script values they hold) go before the engine does.
void HostScriptTimers::after(int milliseconds, const QScriptValue& function)
{
    auto* timer = new QTimer(this);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this, timer, function] {
        timer->deleteLater();
        callBack(function);
    });
    timer->start(milliseconds);
}

void HostScriptTimers::callBack(const QScriptValue& function)
{
    QScriptEngine* engine = function.engine();
    function.call();
    if (!engine->hasUncaughtException())
        return;
    // Frames read "function:line:column:file".
    const QString frame = engine->uncaughtExceptionBacktrace().value(0);
    const QString file = frame.section(QLatin1Char(':'), 3);
    printBellwickError(QStringLiteral("%1:%2: %3 (in a Host.after callback)")
                           .arg(file.isEmpty() ? QStringLiteral("<script>") : file)
                           .arg(engine->uncaughtExceptionLineNumber())
                           .arg(engine->uncaughtException().toString()));
    engine->clearExceptions();
    ++m_failedCallbacks;
}

void HostScriptTimers::processEvents(int milliseconds)
{
    // A loop of its own rather than processEvents(): deleteLater() requests of code further up the
    // stack then wait for that code's own loop.
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void HostScriptTimers::install(HostNativeFunctions& functions, QScriptValue& host)
{
    functions.add(host, QStringLiteral("after"), [this](HostScriptCall& call) {
        const int milliseconds = call.milliseconds(0);
        const QScriptValue function = call.function(1);
        if (!call.failed())
            after(milliseconds, function);
        return QScriptValue();
    });
    functions.add(host, QStringLiteral("processEvents"), [](HostScriptCall& call) {
        const int milliseconds = call.milliseconds(0);
        if (!call.failed())
            processEvents(milliseconds);
        return QScriptValue();
    });
}
