// The console's place in the host: its area, the prototype and working views, the menu and
// toolbar read from the resource folder, the stored toolbar configuration and the banner.
#include "support/ConsoleHost.h"

#include "console/PythonScriptConsoleImpl.h"
#include "console/PythonScriptConsoleTextEdit.h"
#include "console/PythonScriptConsoleView.h"
#include "console/PythonScriptConsoleViewResponder.h"

#include <AC_Menu.h>
#include <LXLayoutManager.h>
#include <PLUG_Services.h>
#include <SCP_PythonManager.h>

#include <QAction>
#include <QDockWidget>
#include <QTest>
#include <QToolBar>

namespace {
const QString areaId = QStringLiteral("Python Script Console");
}

class TestConsoleView : public QObject
{
    Q_OBJECT

private:
    LXLayoutStorage* storage() const { return host->layoutManager()->layoutStorage(); }

    void forgetToolbarConfig()
    {
        for (bool defaultConfig : {true, false})
            lxPref.remove(LXLayoutStorage::preferenceKey(areaId, defaultConfig));
    }

    // A working view made while the plug-in folder holds the given resource files.
    std::unique_ptr<PythonScriptConsoleView> viewWithResources(const QMap<QString, QByteArray>& files)
    {
        QTemporaryDir* folder = new QTemporaryDir;
        folders.emplace_back(folder);
        QDir(folder->path()).mkdir(QStringLiteral("resources"));
        for (auto file = files.cbegin(); file != files.cend(); ++file) {
            QFile out(folder->filePath(QStringLiteral("resources/") + file.key()));
            out.open(QIODevice::WriteOnly);
            out.write(file.value());
        }
        const QString previous = PLUG_Services::getPluginPath(QStringLiteral("PythonScript"));
        PLUG_Services::setPluginPath(QStringLiteral("PythonScript"), folder->path());
        auto* view = static_cast<PythonScriptConsoleView*>(host->view()->createView(&parent));
        PLUG_Services::setPluginPath(QStringLiteral("PythonScript"), previous);
        return std::unique_ptr<PythonScriptConsoleView>(view);
    }

    std::unique_ptr<ConsoleHost> host;
    std::vector<std::unique_ptr<QTemporaryDir>> folders;
    QWidget parent;

private slots:
    void initTestCase()
    {
        host = std::make_unique<ConsoleHost>();
        QVERIFY(host->view());
    }

    void polishAddsTheArea()
    {
        const QList<LXPluginArea>& areas = host->layoutManager()->areas();
        QCOMPARE(areas.size(), 1);
        const LXPluginArea& area = areas.first();
        QCOMPARE(area.areaId, areaId);
        QCOMPARE(area.title, QStringLiteral("Python Script Console"));
        QVERIFY(area.listedInWindowMenu && !area.startFloating && !area.startHidden && !area.preferredSize.isValid());
        QVERIFY(!area.singleView && !area.hideTitleBar && !area.keepOnTop);

        auto* prototype = dynamic_cast<PythonScriptConsoleView*>(area.prototype);
        QVERIFY(prototype);
        QVERIFY(!prototype->consoleImpl());
        QVERIFY(prototype->menuIdentity().isEmpty());
        QCOMPARE(prototype->viewName(), QStringLiteral("PythonScript"));
        QVERIFY(!prototype->menu(0));
        QVERIFY(prototype->wantsToolbar());
    }

    void theWorkingViewHasConsoleMenuAndToolbar()
    {
        PythonScriptConsoleView* view = host->view();
        QCOMPARE(view->menuIdentity(), areaId);
        QCOMPARE(view->viewName(), QStringLiteral("PythonScript"));
        QVERIFY(view->consoleImpl() && view->consoleImpl()->consoleEditor());
        QCOMPARE(view->consoleImpl()->consoleEditor()->font().family(), QStringLiteral("consolas"));
        AC_Menu* menu = view->menu(0);
        QVERIFY(menu);
        for (const char* id : {"clear", "copy", "paste", "selectAll", "interrupt"})
            QVERIFY2(menu->findAction(QLatin1String(id)), id);

        QToolBar* toolbar = host->layoutManager()->dock(areaId)->findChild<QToolBar*>();
        QVERIFY(toolbar);
        QStringList shown;
        for (QAction* action : toolbar->actions())
            shown << action->objectName();
        QCOMPARE(shown, (QStringList{QStringLiteral("clear"), QStringLiteral("interrupt")}));
        for (bool defaultConfig : {true, false})
            QCOMPARE(*storage()->getViewToolbarConfig(areaId, defaultConfig), shown);
    }

    void defaultToolbarItemsAreMarkedExactlyTrue()
    {
        forgetToolbarConfig();
        const QByteArray toolbar = "<toolbars><toolbar id='t'>"
                                   "<item id='a' default='true'/><item id='b' default='false'/>"
                                   "<item id='c' default='True'/><item id='' default='true'/><!-- note -->"
                                   "</toolbar></toolbars>";
        auto view = viewWithResources({{QStringLiteral("PythonScriptConsoleView_toolbar.xml"), toolbar}});
        for (bool defaultConfig : {true, false})
            QCOMPARE(*storage()->getViewToolbarConfig(areaId, defaultConfig), QStringList{QStringLiteral("a")});
        QVERIFY(!view->menu(0)); // no menu file in that folder
    }

    void aStoredConfigurationIsKeptEvenWhenEmpty()
    {
        forgetToolbarConfig();
        storage()->setViewToolbarConfig(areaId, {}, true);
        auto view = viewWithResources({});
        QVERIFY(storage()->getViewToolbarConfig(areaId, true)->isEmpty());
        QVERIFY(!storage()->getViewToolbarConfig(areaId, false));
    }

    void missingOrBrokenResourcesGiveNoMenuAndNoToolbar_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("present");
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("not XML") << QByteArray("<toolbars><toolbar") << true;
    }

    void missingOrBrokenResourcesGiveNoMenuAndNoToolbar()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, present);
        forgetToolbarConfig();
        QMap<QString, QByteArray> files;
        if (present) {
            files.insert(QStringLiteral("PythonScriptConsoleView_toolbar.xml"), content);
            files.insert(QStringLiteral("layoutViewMenu.xml"), content);
        }
        auto view = viewWithResources(files);
        QVERIFY(view->consoleImpl());
        QVERIFY(storage()->getViewToolbarConfig(areaId, true)->isEmpty());
        QVERIFY(!view->menu(0) || view->menu(0)->actions().isEmpty());
        const QString previous = PLUG_Services::getPluginPath(QStringLiteral("PythonScript"));
        PLUG_Services::setPluginPath(QStringLiteral("PythonScript"), folders.back()->path());
        QVERIFY(view->toolbarDefinition().isNull());
        PLUG_Services::setPluginPath(QStringLiteral("PythonScript"), previous);
    }

    void theBannerFollowsTheSession_data()
    {
        QTest::addColumn<bool>("withSession");
        QTest::addColumn<bool>("withMessages");
        QTest::addColumn<QString>("text");
        QTest::newRow("messages") << true << true << QStringLiteral("Python Loaded: \n\nA\nB\n>>> ");
        QTest::newRow("no messages") << true << false << QStringLiteral("Python Loaded: \n\n\n>>> ");
        QTest::newRow("no session") << false << false << QStringLiteral(">>> ");
    }

    void theBannerFollowsTheSession()
    {
        QFETCH(bool, withSession);
        QFETCH(bool, withMessages);
        QFETCH(QString, text);
        SCP_PythonManager emptyManager;
        SC_SessionContext emptySession(&emptyManager, nullptr);
        SC_SessionContext* session = host->session();
        PLUG_Services::setSessionContext(withSession ? (withMessages ? session : &emptySession) : nullptr);
        std::unique_ptr<LXLayoutView> view(host->view()->createView(&parent));
        PLUG_Services::setSessionContext(session);
        auto* editor = view->widget()->findChild<PythonScriptConsoleTextEdit*>();
        QVERIFY(editor);
        QCOMPARE(editor->toPlainText(), text);
        QCOMPARE(editor->commandPromptPosition(), text.size());
    }

    void savingTheSceneChangesNothing()
    {
        PythonScriptConsoleTextEdit* editor = host->editor();
        const QString before = editor->toPlainText();
        host->layoutManager()->saveScene();
        QCOMPARE(editor->toPlainText(), before);
    }

    void theResponderEndsEveryChain()
    {
        PythonScriptConsoleViewResponder responder;
        QCOMPARE(responder.responderIdentity(), QStringLiteral("PythonScriptConsoleViewResponder"));
        QVERIFY(!responder.parentResponder());
        QVERIFY(responder.qt_metacast("PythonScriptConsoleViewResponder"));
        QVERIFY(responder.qt_metacast("AC_Responder"));
    }

    void aViewWithoutParentHoldsNothing()
    {
        PythonScriptConsoleView view(nullptr, nullptr, nullptr, {});
        QVERIFY(!view.consoleImpl());
        QVERIFY(!view.layout());
    }
};

QTEST_MAIN(TestConsoleView)
#include "tst_consoleview.moc"
