// The Python finder that reads the host's preferences, and the menus and toolbars that
// perform actions at responders.
#include "AC_Manager.h"
#include "AC_Menu.h"
#include "AC_ResponderTemplateObject.h"
#include "LXToolbarService.h"
#include "MSG_Log.h"
#include "PR_Preference.h"
#include "SCP_PythonFinder.h"

#include <QDomDocument>
#include <QtTest>
#include <QtWidgets>

namespace {

class CountingResponder : public AC_ResponderTemplateObject<QObject>
{
    Q_OBJECT
public:
    CountingResponder(QObject* parent, const QString& identity) : AC_ResponderTemplateObject<QObject>(parent, identity) {}
    int cleared = 0;
    int saved = 0;
public slots:
    void clear() { ++cleared; }
    void save() { ++saved; }
};

QDomElement parse(const QString& xml)
{
    static QList<QDomDocument> documents; // elements need their documents
    documents.append(QDomDocument());
    documents.last().setContent(xml);
    return documents.last().documentElement();
}

} // namespace

class tst_host_uiservices : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        lxPref.setStorageFile(m_dir.filePath("prefs.ini"));
    }

    // A prefix without a standard library fails and says so; with one, the search path is the
    // preference's entries (empty ones dropped) before the prefix's.
    void finderOfPrefixAndPreferencePath()
    {
        SCP_PythonFinder builtIn;
        builtIn.initialize();
        const QString stdlibName = builtIn.standardLibraryPath().section('/', -1); // "python3.x"
        QTemporaryDir prefix;
        const QString base = QDir::cleanPath(prefix.path());
        const QString stdlib = base + "/lib/" + stdlibName;
        const QChar sep = QDir::listSeparator();
        lxPref.setStringValue("PYTHON_LIB_PATH", prefix.path() + '/');
        lxPref.setStringValue("PYTHONPATH", "/extra/one" + QString(sep) + sep + "/extra/two");
        MSG_Log::instance()->clear();
        SCP_PythonFinder finder;
        finder.initialize();
        QCOMPARE(finder.prefix(), base);
        QVERIFY(!finder.buildPythonEnvironment());
        QVERIFY(finder.pythonPath().isEmpty());
        QCOMPARE(MSG_Log::instance()->entries().size(), 1);
        QCOMPARE(MSG_Log::instance()->entries().first().kind, MSG_Entry::PythonInit);
        QCOMPARE(MSG_Log::instance()->entries().first().text, "Python standard library not found in " + stdlib);

        QVERIFY(QDir().mkpath(stdlib));
        QVERIFY(QFile(stdlib + "/os.py").open(QIODevice::WriteOnly));
        QVERIFY(finder.buildPythonEnvironment());
        const QString zip = base + "/lib/" + QString(stdlibName).remove('.') + ".zip";
        QCOMPARE(finder.pythonPath(), QStringList({"/extra/one", "/extra/two", stdlib, zip, stdlib + "/lib-dynload"}).join(sep));
        QCOMPARE(finder.homePath(), base);
        QCOMPARE(finder.pythonExecutablePath(), base + "/bin/" + stdlibName);
    }

    void menusAndToolbarsPerformActionsAtResponders()
    {
        AC_Manager actions;
        CountingResponder parent(nullptr, "Parent");
        parent.initActionManager(&actions);
        auto* child = new CountingResponder(&parent, "Child");
        child->initActionManager(&actions);
        QCOMPARE(actions.responder("Child"), child);

        std::unique_ptr<AC_Menu> menu(actions.createMenu(parse("<menu id='top' text='Top'><action id='clear' text='Clear'/><separator/>"
                                                               "<menu id='sub' text='Sub'><action id='save' responder='Parent'/></menu>"
                                                               "<action id='unknown'/></menu>"),
                                                         child, nullptr));
        QCOMPARE(menu->title(), "Top");
        QCOMPARE(menu->actions().size(), 4);
        QSignalSpy triggered(&actions, &AC_Manager::actionTriggered);
        for (const char* id : {"clear", "save", "unknown"})
            menu->findAction(id)->trigger();
        QCOMPARE(child->cleared, 1);
        QCOMPARE(parent.saved, 1);
        QCOMPARE(triggered.size(), 3);
        QVERIFY(!triggered.last().at(2).toBool()); // the unknown action was performed by none
        auto* leaf = new AC_ResponderTemplateObject<QObject>(child, "Leaf");
        QVERIFY(leaf->perform("save")); // passed on to the nearest responder
        QCOMPARE(child->saved, 1);
        QVERIFY(!leaf->perform("destroyed")); // signals are not actions
        QVERIFY(!actions.createMenu(QDomElement(), nullptr, nullptr));

        LXToolbarService toolbars(&actions);
        std::unique_ptr<QToolBar> toolbar(toolbars.createToolbar(
            parse("<toolbar id='t'><item id='c' action='clear'/><separator id='s'/><item id='v' action='save'/></toolbar>"),
            {"v", "s", "c", "gone"}, child, nullptr));
        QCOMPARE(toolbar->actions().size(), 3);
        QVERIFY(toolbar->actions().at(1)->isSeparator());
        toolbar->actions().at(2)->trigger();
        QCOMPARE(child->cleared, 2);

        delete child; // unregisters itself
        QVERIFY(!actions.responder("Child"));
        menu->findAction("clear")->trigger(); // its responder is gone: nothing happens
    }
};

QTEST_MAIN(tst_host_uiservices)
#include "tst_host_uiservices.moc"
