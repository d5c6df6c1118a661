#include "SCP_PythonFinder.h"

#include "MSG_Log.h"
#include "PR_Preference.h"
#include "SCP_PythonBuildInfo.h"

#include <QDir>
#include <QFileInfo>

namespace {

SCP_PythonFinder* finderInstance = nullptr;

const QString libPathKey = QStringLiteral("PYTHON_LIB_PATH");
const QString pythonPathKey = QStringLiteral("PYTHONPATH");

} // namespace

SCP_PythonFinder* SCP_PythonFinder::instance()
{
    return finderInstance;
}

void SCP_PythonFinder::setInstance(SCP_PythonFinder* finder)
{
    finderInstance = finder;
}

SCP_PythonFinder* SCP_PythonFinder::readyInstance()
{
    SCP_PythonFinder* finder = instance();
    if (!finder)
        return nullptr;
    finder->initialize();
    return finder->buildPythonEnvironment() ? finder : nullptr;
}

SCP_PythonFinder::SCP_PythonFinder() = default;
SCP_PythonFinder::~SCP_PythonFinder() = default;

void SCP_PythonFinder::initialize()
{
    const QString version = QStringLiteral(BELLWICK_PYTHON_VERSION);
    const QString customPrefix = lxPref.getStringValue(libPathKey).trimmed();
    if (customPrefix.isEmpty()) {
        m_prefix = QStringLiteral(BELLWICK_PYTHON_PREFIX);
        m_executablePath = QStringLiteral(BELLWICK_PYTHON_EXECUTABLE);
        m_standardLibrary = QStringLiteral(BELLWICK_PYTHON_STDLIB);
        m_dynload = QStringLiteral(BELLWICK_PYTHON_DYNLOAD);
    } else {
        m_prefix = QDir::cleanPath(customPrefix);
        m_executablePath = m_prefix + QStringLiteral("/bin/python") + version;
        m_standardLibrary = m_prefix + QStringLiteral("/lib/python") + version;
        m_dynload = m_standardLibrary + QStringLiteral("/lib-dynload");
    }
    m_standardLibraryZip = m_prefix + QStringLiteral("/lib/python") + QString(version).remove(QLatin1Char('.'))
        + QStringLiteral(".zip");
    m_homePath.clear();
    m_pythonPath.clear();
}

bool SCP_PythonFinder::buildPythonEnvironment()
{
    if (m_prefix.isEmpty())
        initialize();
    if (!QFileInfo(m_standardLibrary + QStringLiteral("/os.py")).isFile()) {
        logPythonInit(QStringLiteral("Python standard library not found in %1").arg(m_standardLibrary));
        return false;
    }
    QStringList entries = lxPref.getStringValue(pythonPathKey).split(QDir::listSeparator(), Qt::SkipEmptyParts);
    entries << m_standardLibrary << m_standardLibraryZip << m_dynload;
    m_pythonPath = entries.join(QDir::listSeparator());
    m_homePath = m_prefix;
    return true;
}

void SCP_PythonFinder::logPythonInit(const QString& text)
{
    MSG_Log::instance()->addPythonInit(text);
}
