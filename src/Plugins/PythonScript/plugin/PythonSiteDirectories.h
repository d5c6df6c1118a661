#pragma once

#include <QString>
#include <QStringList>

// The folders of installed packages that join the module search path as site directories
// (their .pth files honoured) without the interpreter's site module running: the add-on folder's
// .pth entries, a virtual environment's site-packages (preference "PYTHON_VIRTUAL_ENV") and, when
// the preference "PYTHON_SITE_PACKAGES" is on, the installation's own. A failed import of a module
// that sits in a folder left off says so in its error.
class PythonSiteDirectories
{
public:
    // Reads the preferences and the host's special folder.
    PythonSiteDirectories();

    // Needs a running interpreter; takes the lock itself. Refusals (a virtual environment of
    // another Python) go to the start-up log and the host's messages.
    void apply() const;

    const QString& addOnFolder() const { return m_addOnFolder; }
    const QString& virtualEnv() const { return m_virtualEnv; }
    bool sitePackages() const { return m_sitePackages; }

private:
    QStringList run() const;

    QString m_addOnFolder;
    QString m_virtualEnv;
    bool m_sitePackages;
};
