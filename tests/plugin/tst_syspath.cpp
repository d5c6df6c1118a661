// addSysPath(): one sys.path entry per directory, however the path is written.
#include "support/PluginTestCase.h"

#include <SCP_PythonEngine.h>

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class SysPathTest : public PluginTestCase
{
    Q_OBJECT

private:
    QStringList sysPath() { return engine->evaluate(QStringLiteral("__import__('sys').path")).toStringList(); }
    int entriesFor(const QString& directory)
    {
        int count = 0;
        for (const QString& entry : sysPath())
            count += QDir(entry).canonicalPath() == QDir(directory).canonicalPath() ? 1 : 0;
        return count;
    }

    QTemporaryDir folder;

private slots:
    void directoryIsAddedOnceHoweverWritten()
    {
        const QString target = folder.filePath(QStringLiteral("target"));
        QVERIFY(QDir().mkpath(target));
        QVERIFY(QFile::link(target, folder.filePath(QStringLiteral("link"))));

        QVERIFY(QDir::setCurrent(folder.path()));
        engine->addSysPath(QStringLiteral("target"));
        QCOMPARE(sysPath().count(QStringLiteral("target")), 1);
        engine->addSysPath(target);
        engine->addSysPath(folder.filePath(QStringLiteral("link")));
        engine->addSysPath(QStringLiteral("./target/../target/"));
        QCOMPARE(entriesFor(target), 1);
        QVERIFY(!sysPath().contains(target));
    }

    void pathsAlreadyOnTheSearchPathAreKept()
    {
        const QStringList before = sysPath();
        for (const QString& entry : before)
            engine->addSysPath(entry);
        QCOMPARE(sysPath(), before);
    }

    void emptyAndMissingPathsAreIgnored()
    {
        const QStringList before = sysPath();
        engine->addSysPath(QString());
        engine->addSysPath(folder.filePath(QStringLiteral("does/not/exist")));
        engine->addSysPath(QStringLiteral("relative_that_does_not_exist"));
        QCOMPARE(sysPath(), before);
        QVERIFY(!engine->hasError());
    }
};

QTEST_MAIN(SysPathTest)
#include "tst_syspath.moc"
