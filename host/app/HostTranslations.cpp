#include "HostTranslations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// The same place relative to bellwick in a build tree and in an installed one.
QString catalogFolder()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath()
                           + QStringLiteral("/" BELLWICK_TRANSLATIONS_RELATIVE_DIR));
}

bool installCatalog(const QLocale& locale, const QString& catalog, const QString& folder)
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(locale, catalog, QStringLiteral("_"), folder) && QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

} // namespace

void HostTranslations::install(const QString& language)
{
    const QLocale locale = language.isEmpty() ? QLocale() : QLocale(language);
    const QString folder = catalogFolder();
    const bool host = installCatalog(locale, QStringLiteral("bellwick"), folder);
    // The plug-in's catalog is named after the plug-in, as the host names it.
    const bool plugin = installCatalog(locale, QStringLiteral("PythonScript"), folder);
    // Qt's own texts (context menus, dock buttons) follow only a language the host speaks, so
    // that a window never mixes two languages.
    if (host || plugin)
        installCatalog(locale, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}
