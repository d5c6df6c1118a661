#include "PythonStandardStreams.h"

#include "SCP_PythonEngine.h"

#include <cstdio>

namespace {

void writeTo(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

PythonStandardStreams::PythonStandardStreams(SCP_PythonEngine* engine, bool alsoToLog)
    : SCP_PythonRedirect(engine)
    , m_alsoToLog(alsoToLog)
{
    engine->pushRedirectObject(this);
}

PythonStandardStreams::~PythonStandardStreams()
{
    engine()->popRedirectObject();
}

void PythonStandardStreams::writeStdOut(const QString& text)
{
    writeTo(stdout, text);
    forward(&SCP_PythonEngine::writeStdOut, text);
}

void PythonStandardStreams::writeStdErr(const QString& text)
{
    writeTo(stderr, text);
    forward(&SCP_PythonEngine::writeStdErr, text);
}

void PythonStandardStreams::forward(void (SCP_PythonEngine::*write)(const QString&), const QString& text)
{
    if (!m_alsoToLog)
        return;
    engine()->popRedirectObject();
    (engine()->*write)(text);
    engine()->pushRedirectObject(this);
}
