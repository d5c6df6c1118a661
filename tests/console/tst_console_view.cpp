// The console's place in the host: its area and prototype, the working view's menu and toolbar
// read from the resource folder, the stored toolbar configuration and the banner.
#include "support/ConsoleHost.h"

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

    void forgetToolbarConfig()
    {
        for (bool defaultConfig : {true, false})
            lxPref.remove(LXLayoutStorage::preferenceKey(areaId, defaultConfig));
    }

    // A working view made, and action run on it, while the plug-in folder holds only the given
    // resource files.
    std::unique_ptr<PythonScriptConsoleView> viewWithResources(const QMap<QString, QByteArray>& files,
                                                               const std::function<void(PythonScriptConsoleView*)>& action = {})
    {
        QTemporaryDir folder;
        QDir(folder.path()).mkdir("resources");
        for (auto file = files.cbegin(); file != files.cend(); ++file) {
            QFile out(folder.filePath("resources/" + file.key()));
            if (out.open(QIODevice::WriteOnly))
                out.write(file.value());
        }
        const QString previous = PLUG_Services::getPluginPath("PythonScript");
        PLUG_Services::setPluginPath("PythonScript", folder.path());
        std::unique_ptr<PythonScriptConsoleView> view(static_cast<PythonScriptConsoleView*>(host->view()->createView(&parent)));
        if (action)
            action(view.get());
        PLUG_Services::setPluginPath("PythonScript", previous);
        return view;
    }

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
        QCOMPARE(area.title, areaId);
        QVERIFY(area.listedInWindowMenu && !area.startFloating && !area.startHidden && !area.preferredSize.isValid());
        QVERIFY(!area.singleView && !area.hideTitleBar && !area.keepOnTop);
        // The prototype only makes working views.
        auto* prototype = dynamic_cast<PythonScriptConsoleView*>(area.prototype);
        QVERIFY(prototype && !prototype->consoleImpl() && !prototype->menu(0) && prototype->menuIdentity().isEmpty());
        QCOMPARE(prototype->viewName(), "PythonScript");
        QVERIFY(prototype->wantsToolbar());
    }

    void theWorkingViewHasConsoleMenuAndToolbar()
    {
        PythonScriptConsoleView* view = host->view();
        QCOMPARE(view->menuIdentity(), areaId);
        QCOMPARE(view->viewName(), "PythonScript");
        QCOMPARE(host->editor()->font().family(), "consolas");
        for (const char* id : {"clear", "copy", "paste", "selectAll", "interrupt"})
            QVERIFY2(view->menu(0)->findAction(QLatin1String(id)), id);
        QStringList shown;
        for (QAction* action : host->layoutManager()->dock(areaId)->findChild<QToolBar*>()->actions())
            shown << action->objectName();
        QCOMPARE(shown, (QStringList{"clear", "interrupt"}));
        for (bool defaultConfig : {true, false})
            QCOMPARE(*storage()->getViewToolbarConfig(areaId, defaultConfig), shown);
    }

    void defaultToolbarItemsAreMarkedExactlyTrue()
    {
        const QByteArray toolbar = "<toolbars><toolbar id='t'><item id='a' default='true'/><item id='b' default='false'/>"
                                   "<item id='c' default='True'/><item id='' default='true'/><!-- note --></toolbar></toolbars>";
        forgetToolbarConfig();
        const auto view = viewWithResources({{toolbarFile, toolbar}});
        for (bool defaultConfig : {true, false})
            QCOMPARE(*storage()->getViewToolbarConfig(areaId, defaultConfig), QStringList{"a"});
        QVERIFY(!view->menu(0)); // no menu file in that folder
    }

    void aStoredConfigurationIsKeptEvenWhenEmpty()
    {
        forgetToolbarConfig();
        storage()->setViewToolbarConfig(areaId, {}, true);
        const auto view = viewWithResources({});
        QVERIFY(storage()->getViewToolbarConfig(areaId, true)->isEmpty());
        QVERIFY(!storage()->getViewToolbarConfig(areaId, false));
    }

    void missingOrBrokenResourcesGiveNoMenuAndNoToolbar_data()
    {
        QTest::addColumn<bool>("present");
        QTest::newRow("missing") << false;
        QTest::newRow("not XML") << true;
    }

    void missingOrBrokenResourcesGiveNoMenuAndNoToolbar()
    {
        QFETCH(bool, present);
        const QByteArray broken("<toolbars><toolbar");
        forgetToolbarConfig();
        const auto view = viewWithResources(present ? QMap<QString, QByteArray>{{toolbarFile, broken}, {"layoutViewMenu.xml", broken}}
                                                    : QMap<QString, QByteArray>{},
                                            [](PythonScriptConsoleView* made) { QVERIFY(made->toolbarDefinition().isNull()); });
        QVERIFY(view->consoleImpl());
        QVERIFY(storage()->getViewToolbarConfig(areaId, true)->isEmpty());
        QVERIFY(!view->menu(0) || view->menu(0)->actions().isEmpty());
    }

    void theBannerFollowsTheSession_data()
    {
        QTest::addColumn<bool>("withSession");
        QTest::addColumn<bool>("withMessages");
        QTest::addColumn<QString>("text");
        QTest::newRow("messages") << true << true << "Python Loaded: \n\nA\nB\n>>> ";
        QTest::newRow("no messages") << true << false << "Python Loaded: \n\n\n>>> ";
        QTest::newRow("no session") << false << false << ">>> ";
    }

    // ... and saving the scene leaves it as it is.
    void theBannerFollowsTheSession()
    {
        QFETCH(bool, withSession);
        QFETCH(bool, withMessages);
        QFETCH(QString, text);
        SCP_PythonManager emptyManager;
        SC_SessionContext emptySession(&emptyManager, nullptr);
        PLUG_Services::setSessionContext(withSession ? (withMessages ? host->session() : &emptySession) : nullptr);
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
