#include "BellwickCommandLine.h"

#include <QCommandLineParser>

namespace {

// The option a command-line word names ("--script", "--script=x", "-c", "-cx"), and whether its
// value is the next word.
QString optionName(const QString& word, const QStringList& valueOptions, bool* valueFollows)
{
    *valueFollows = false;
    QString name;
    if (word.startsWith(QLatin1String("--")))
        name = word.mid(2).section(QLatin1Char('='), 0, 0);
    else if (word.startsWith(QLatin1Char('-')) && word.size() > 1)
        name = word.mid(1, 1);
    else
        return QString();
    if (valueOptions.contains(name)) {
        const bool inlineValue = word.startsWith(QLatin1String("--")) ? word.contains(QLatin1Char('=')) : word.size() > 2;
        *valueFollows = !inlineValue;
    }
    return name;
}

// Where the words for the Python jobs' sys.argv begin: the index of the first "--" that is not
// an option's value, or the end.
int argumentsSeparator(const QStringList& args, const QStringList& valueOptions)
{
    for (int i = 1; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--"))
            return i;
        bool valueFollows = false;
        optionName(args.at(i), valueOptions, &valueFollows);
        if (valueFollows)
            ++i;
    }
    return args.size();
}

} // namespace

const QStringList& BellwickCommandLine::serviceNames()
{
    static const QStringList names{QStringLiteral("finder"),         QStringLiteral("scripting-interface"),
                                   QStringLiteral("script-engine"),  QStringLiteral("session-context"),
                                   QStringLiteral("python-manager"), QStringLiteral("action-manager"),
                                   QStringLiteral("layout-manager"), QStringLiteral("command-manager")};
    return names;
}

BellwickCommandLine::Result BellwickCommandLine::parse(const QStringList& args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Bellwick reference host: loads the PythonScript plug-in and opens its main window, or runs "
        "the given scripts and Python code headless and exits."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help."));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Shows bellwick's version."));
    const QCommandLineOption plugin(QStringLiteral("plugin"), QStringLiteral("The plug-in library (default: libPythonScript.so beside bellwick, else the installed one)."), QStringLiteral("PATH"));
    const QCommandLineOption settings(QStringLiteral("settings"), QStringLiteral("The preference store, an INI file (default: the user's)."), QStringLiteral("FILE"));
    const QCommandLineOption specialFolder(QStringLiteral("special-folder"), QStringLiteral("The host's shared special folder."), QStringLiteral("DIR"));
    const QCommandLineOption log(QStringLiteral("log"), QStringLiteral("Writes host messages and Python start-up lines as JSON Lines to FILE ('-': standard error)."), QStringLiteral("FILE"));
    const QCommandLineOption batch(QStringLiteral("batch-python"), QStringLiteral("Runs as a Python batch job."));
    const QCommandLineOption without(QStringLiteral("without"), QStringLiteral("Comma-separated services to leave absent: %1.").arg(serviceNames().join(QStringLiteral(", "))), QStringLiteral("LIST"));
    const QCommandLineOption script(QStringLiteral("script"), QStringLiteral("Runs a JavaScript file in the host's script engine (repeatable)."), QStringLiteral("FILE"));
    const QCommandLineOption python(QStringLiteral("python"), QStringLiteral("Runs a Python file as python runs a script, in the main module (repeatable)."), QStringLiteral("FILE"));
    const QCommandLineOption code(QStringLiteral("c"), QStringLiteral("Runs Python code in the main module (repeatable)."), QStringLiteral("CODE"));
    const QCommandLineOption module(QStringLiteral("m"), QStringLiteral("Runs a Python module as __main__, as python -m does (repeatable)."), QStringLiteral("MODULE"));
    const QCommandLineOption venv(QStringLiteral("venv"), QStringLiteral("Also searches the site-packages of this virtual environment (default: the preference PYTHON_VIRTUAL_ENV)."), QStringLiteral("DIR"));
    const QCommandLineOption sitePackages(QStringLiteral("site-packages"), QStringLiteral("Also searches the Python installation's own site-packages (default: the preference PYTHON_SITE_PACKAGES)."));
    const QCommandLineOption window(QStringLiteral("window"), QStringLiteral("Runs the jobs with the main window shown (offscreen without a display), then exits with their status."));
    const QCommandLineOption stay(QStringLiteral("stay"), QStringLiteral("With --window: keeps the window open after the jobs."));
    const QCommandLineOption style(QStringLiteral("style"), QStringLiteral("The host's look: dark (default) or light."), QStringLiteral("STYLE"), QStringLiteral("dark"));
    const QCommandLineOption language(QStringLiteral("language"), QStringLiteral("The language of the host's and the plug-in's texts, such as fr (default: the user's locale)."), QStringLiteral("LANGUAGE"));
    const QCommandLineOption debugPort(QStringLiteral("debug-port"), QStringLiteral("Starts the Python debug server on PORT of 127.0.0.1 for this run (as the preference PYTHON_DEBUG_PORT does)."), QStringLiteral("PORT"));
    const QList<QCommandLineOption> options{help, version, plugin, settings, specialFolder, log, batch, without, script, python,
                                            code, module, venv, sitePackages, window, stay, style, language, debugPort};
    parser.addOptions(options);
    parser.addPositionalArgument(QStringLiteral("ARGS"), QStringLiteral("After --: the rest of sys.argv for the Python jobs."), QStringLiteral("[-- ARGS...]"));
    // The usage line names the program whatever the executable file is called.
    const QString text = parser.helpText();
    m_helpText = QStringLiteral("Usage: bellwick") + text.mid(text.indexOf(QLatin1String(" [options]")));

    QStringList valueOptions;
    for (const QCommandLineOption& option : options) {
        if (!option.valueName().isEmpty())
            valueOptions += option.names();
    }
    const int separator = argumentsSeparator(args, valueOptions);
    m_scriptArguments = args.mid(separator + 1);
    const QStringList optionWords = args.mid(0, separator);
    if (!parser.parse(optionWords)) {
        m_error = parser.errorText();
        return Invalid;
    }
    if (parser.isSet(help))
        return ShowHelp;
    if (parser.isSet(version))
        return ShowVersion;
    if (!parser.positionalArguments().isEmpty()) {
        m_error = QStringLiteral("Unexpected argument: %1").arg(parser.positionalArguments().constFirst());
        return Invalid;
    }
    m_pluginPath = parser.value(plugin);
    m_settingsFile = parser.value(settings);
    m_specialFolder = parser.value(specialFolder);
    m_logFile = parser.value(log);
    m_language = parser.value(language);
    m_virtualEnv = parser.value(venv);
    m_sitePackages = parser.isSet(sitePackages);
    m_batchPython = parser.isSet(batch);
    m_window = parser.isSet(window);
    m_stay = parser.isSet(stay);
    if (parser.isSet(debugPort)) {
        bool valid = false;
        m_debugPort = parser.value(debugPort).toInt(&valid);
        if (!valid || m_debugPort < 1 || m_debugPort > 65535) {
            m_error = QStringLiteral("--debug-port needs a port from 1 to 65535");
            return Invalid;
        }
    }
    if (m_stay && !m_window) {
        m_error = QStringLiteral("--stay needs --window");
        return Invalid;
    }
    if (!readWithout(parser.values(without)) || !readStyle(parser.value(style)))
        return Invalid;
    orderJobs(optionWords, valueOptions, parser.values(script), parser.values(python), parser.values(code), parser.values(module));
    return Run;
}

bool BellwickCommandLine::readWithout(const QStringList& values)
{
    for (const QString& value : values) {
        for (const QString& name : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QString service = name.trimmed();
            if (!serviceNames().contains(service)) {
                m_error = QStringLiteral("Unknown service in --without: %1 (known: %2)")
                              .arg(service, serviceNames().join(QStringLiteral(", ")));
                return false;
            }
            m_without.insert(service);
        }
    }
    return true;
}

bool BellwickCommandLine::readStyle(const QString& value)
{
    if (value != QLatin1String("dark") && value != QLatin1String("light")) {
        m_error = QStringLiteral("Unknown --style value: %1 (known: dark, light)").arg(value);
        return false;
    }
    m_darkStyle = value == QLatin1String("dark");
    return true;
}

// The parser gives each option's values in order but not how options interleave; the words
// themselves tell that.
void BellwickCommandLine::orderJobs(const QStringList& args, const QStringList& valueOptions,
                                    const QStringList& scripts, const QStringList& pythonFiles,
                                    const QStringList& codes, const QStringList& modules)
{
    int nextScript = 0, nextPython = 0, nextCode = 0, nextModule = 0;
    for (int i = 1; i < args.size(); ++i) {
        bool valueFollows = false;
        const QString name = optionName(args.at(i), valueOptions, &valueFollows);
        if (name == QLatin1String("script") && nextScript < scripts.size())
            m_jobs.append({BellwickJob::Script, scripts.at(nextScript++)});
        else if (name == QLatin1String("python") && nextPython < pythonFiles.size())
            m_jobs.append({BellwickJob::PythonFile, pythonFiles.at(nextPython++)});
        else if (name == QLatin1String("c") && nextCode < codes.size())
            m_jobs.append({BellwickJob::PythonCode, codes.at(nextCode++)});
        else if (name == QLatin1String("m") && nextModule < modules.size())
            m_jobs.append({BellwickJob::PythonModule, modules.at(nextModule++)});
        if (valueFollows)
            ++i;
    }
}
