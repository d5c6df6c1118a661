// The console's place in the host: its area and prototype, the working view's menu and toolbar
// read from the resource folder, the stored toolbar configuration and the banner.
#include "support/ConsoleHost.h"
#include "support/TestFiles.h"

#include "console/PythonScriptConsoleImpl.h"
#include "console/PythonScriptConsoleTextEdit.h"

#include <AC_Menu.h>
#include <PLUG_Services.h>
#include <SCP_PythonManager.h>

#include <QAction>
#include <QDockWidget>
#include <QTest>
#include <QToolBar>

namespace {
const QString areaId = QStringLiteral("Python Script Console");
const QString toolbarFile = QStringLiteral("PythonScriptConsoleView_toolbar.xml");
}

class tst_console_view : public QObject
{
    Q_OBJECT

    std::unique_ptr<ConsoleHost> host;
    QWidget parent;

    LXLayoutStorage* storage() const { return host->layoutManager()->layoutStorage(); }

private slots:
    void initTestCase()
    {
        host = std::make_unique<ConsoleHost>();
        QVERIFY(host->view());
    }

    // The area Polish adds, its prototype that only makes working views, and the working view
    // with the console's menu and toolbar.
    void theAreaAndItsWorkingView()
    {
        const QList<LXPluginArea>& areas = host->layoutManager()->areas();
        QStringList ids;
        for (const LXPluginArea& added : areas)
            ids << added.areaId;
        QCOMPARE(ids, (QStringList{areaId, "Python Scripts", "Python Script Editor"}));
        const LXPluginArea& area = areas.first();
        QCOMPARE(area.title, areaId);
        QVERIFY(area.listedInWindowMenu);
        // Docked and shown from the start.
        QDockWidget* dock = host->layoutManager()->dock(areaId);
        QVERIFY(!dock->isFloating());
        QVERIFY(!dock->isHidden());
        auto* prototype = dynamic_cast<PythonScriptConsoleView*>(area.prototype);
        QVERIFY(prototype);
        QVERIFY(!prototype->consoleImpl());
        QVERIFY(!prototype->menu(0));
        QVERIFY(prototype->menuIdentity().isEmpty());
        QVERIFY(prototype->wantsToolbar());
        PythonScriptConsoleView* view = host->view();
        QCOMPARE(view->viewName(), "PythonScript");
        QCOMPARE(view->menuIdentity(), areaId);
        QCOMPARE(host->editor()->font().family(), "consolas");
        for (const char* id : {"clear", "copy", "paste", "selectAll", "interrupt"})
            QVERIFY2(view->menu(0)->findAction(QLatin1String(id)), id);
        QStringList shown;
        for (QAction* action : dock->findChild<QToolBar*>()->actions())
            shown << action->objectName();
        QCOMPARE(shown, (QStringList{"clear", "interrupt"}));
        for (bool defaultConfig : {true, false})
            QCOMPARE(*storage()->getViewToolbarConfig(areaId, defaultConfig), shown);
    }

    // Resource files (the same bytes as toolbar and menu) and a toolbar configuration stored or
    // not: the items marked default="true", exactly, make the configuration unless one is stored,
    // even an empty one. None of these files is a menu.
    void toolbarConfigurationFromTheResources_data()
    {
        QTest::addColumn<QByteArray>("resource");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QStringList>("config");
        const QByteArray toolbar = "<toolbars><toolbar id='t'><item id='a' default='true'/><item id='b' default='false'/>"
                                   "<item id='c' default='True'/><item id='' default='true'/><!-- note --></toolbar></toolbars>";
        QTest::newRow("marked default") << toolbar << false << QStringList{"a"};
        QTest::newRow("stored empty") << toolbar << true << QStringList();
        QTest::newRow("missing") << QByteArray() << false << QStringList();
        QTest::newRow("not XML") << QByteArray("<toolbars><toolbar") << false << QStringList();
    }

    void toolbarConfigurationFromTheResources()
    {
        QFETCH(QByteArray, resource);
        QFETCH(bool, stored);
        for (bool defaultConfig : {true, false})
            lxPref.remove(LXLayoutStorage::preferenceKey(areaId, defaultConfig));
        if (stored)
            storage()->setViewToolbarConfig(areaId, {}, true);
        QTemporaryDir folder;
        if (!resource.isNull()) {
            for (const QString& file : {toolbarFile, QStringLiteral("layoutViewMenu.xml")})
                writeFile(folder.filePath("resources/" + file), resource);
        }
        const QString previous = PLUG_Services::getPluginPath("PythonScript");
        PLUG_Services::setPluginPath("PythonScript", folder.path());
        std::unique_ptr<PythonScriptConsoleView> view(static_cast<PythonScriptConsoleView*>(host->view()->createView(&parent)));
        QCOMPARE(view->toolbarDefinition().isNull(), !resource.startsWith("<toolbars><toolbar id"));
        PLUG_Services::setPluginPath("PythonScript", previous);
        QVERIFY(view->consoleImpl());
        QVERIFY(!view->menu(0) || view->menu(0)->actions().isEmpty());
        QFETCH(QStringList, config);
        QCOMPARE(*storage()->getViewToolbarConfig(areaId, true), config);
        QCOMPARE(storage()->getViewToolbarConfig(areaId, false) == nullptr, stored);
        if (!stored)
            QCOMPARE(*storage()->getViewToolbarConfig(areaId, false), config);
    }

    // The banner of a working view made in a session with messages, without, or without a
    // session; saving the scene leaves it as it is.
    void theBannerFollowsTheSession_data()
    {
        QTest::addColumn<QString>("session");
        QTest::addColumn<QString>("text");
        QTest::newRow("messages") << "messages" << "Python Loaded: \n\nA\nB\n>>> ";
        QTest::newRow("no messages") << "empty" << "Python Loaded: \n\n\n>>> ";
        QTest::newRow("no session") << "none" << ">>> ";
    }

    void theBannerFollowsTheSession()
    {
        QFETCH(QString, session);
        QFETCH(QString, text);
        SCP_PythonManager emptyManager;
        SC_SessionContext emptySession(&emptyManager, nullptr);
        PLUG_Services::setSessionContext(session == "messages" ? host->session() : session == "empty" ? &emptySession : nullptr);
        std::unique_ptr<LXLayoutView> view(host->view()->createView(&parent));
        PLUG_Services::setSessionContext(host->session());
        auto* editor = view->widget()->findChild<PythonScriptConsoleTextEdit*>();
        QVERIFY(editor);
        host->layoutManager()->saveScene();
        QCOMPARE(editor->toPlainText(), text);
        QCOMPARE(editor->commandPromptPosition(), text.size());
    }
};

QTEST_MAIN(tst_console_view)
#include "tst_console_view.moc"
