// Preferences, layout storage, toolbars, actions and layout docks.
#include "AC_Manager.h"
#include "AC_Menu.h"
#include "AC_ResponderTemplateObject.h"
#include "LXLayoutManager.h"
#include "LXToolbarService.h"
#include "LXWidgetLayoutView.h"
#include "PLUG_Services.h"
#include "PR_Preference.h"
#include "WID_IconManager.h"

#include <QDockWidget>
#include <QDomDocument>
#include <QFile>
#include <QMainWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolBar>

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

// A view holding an editor, with a slot of its own that the editor lacks.
class EditorView : public LXWidgetLayoutView
{
    Q_OBJECT
public:
    EditorView(AC_Manager* actions, QWidget* parent)
        : LXWidgetLayoutView(actions, QStringLiteral("Editor"), parent, "Editor View"), editor(new QTextEdit(this))
    {
    }
    LXLayoutView* createView(QWidget* parent) override { return new EditorView(actionManager(), parent); }
    bool wantsToolbar() const override { return false; }
    QTextEdit* editor;
    int marked = 0;
public slots:
    void mark() { ++marked; }
};

class TestView : public LXWidgetLayoutView
{
public:
    TestView(AC_Manager* actions, QWidget* parent)
        : LXWidgetLayoutView(actions, QStringLiteral("Test"), parent, parent ? "Test View" : nullptr)
    {
    }
    LXLayoutView* createView(QWidget* parent) override
    {
        ++created;
        auto* view = new TestView(actionManager(), parent);
        QDomDocument menu;
        menu.setContent(QStringLiteral("<menu id='m' text='Test'><action id='clear' text='Clear'/></menu>"));
        view->setMenu(actionManager()->createMenu(menu.documentElement(), view, nullptr), 0);
        return view;
    }
    bool wantsToolbar() const override { return true; }
    QDomElement toolbarDefinition() const override
    {
        static QDomDocument document;
        document.setContent(QStringLiteral("<toolbars><toolbar id='t'><item id='a' default='true'/>"
                                           "<item id='b' default='false'/></toolbar></toolbars>"));
        return document.documentElement().firstChildElement();
    }
    static int created;
};
int TestView::created = 0;

QDomElement parse(QDomDocument& document, const QString& xml)
{
    document.setContent(xml);
    return document.documentElement();
}

} // namespace

class TestUiServices : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        lxPref.setStorageFile(m_dir.filePath(QStringLiteral("prefs.ini")));
    }

    void preferencesRoundTripAndFallBackToDefaults()
    {
        PR_Preference prefs;
        const QString file = m_dir.filePath(QStringLiteral("roundtrip.ini"));
        prefs.setStorageFile(file);
        QCOMPARE(prefs.getBoolValue(QStringLiteral("B"), true), true);
        prefs.setBoolValue(QStringLiteral("B"), false);
        prefs.setRgbaValue(QStringLiteral("C"), 0x8050C14Bu);
        prefs.setStringListValue(QStringLiteral("L"), {QStringLiteral("x"), QStringLiteral("y")});
        prefs.setStringValue(QStringLiteral("Bad"), QStringLiteral("not a colour"));

        PR_Preference reread; // a second store on the same file sees what was written
        reread.setStorageFile(file);
        QCOMPARE(reread.getBoolValue(QStringLiteral("B"), true), false);
        QCOMPARE(reread.getRgbaValue(QStringLiteral("C"), 0), QRgb(0x8050C14B));
        QCOMPARE(reread.getStringListValue(QStringLiteral("L")), (QStringList{QStringLiteral("x"), QStringLiteral("y")}));
        QCOMPARE(reread.getRgbaValue(QStringLiteral("Bad"), 0xFF004800u), QRgb(0xFF004800));
        QCOMPARE(reread.getBoolValue(QStringLiteral("Bad"), true), true);
        reread.setStringValue(QStringLiteral("Short"), QStringLiteral("#102030"));
        QCOMPARE(reread.getRgbaValue(QStringLiteral("Short"), 0), QRgb(0xFF102030));
    }

    void layoutStorageTellsMissingFromEmpty()
    {
        PR_Preference prefs;
        prefs.setStorageFile(m_dir.filePath(QStringLiteral("layout.ini")));
        LXLayoutStorage storage(&prefs);
        QVERIFY(!storage.getViewToolbarConfig(QStringLiteral("Console"), true));
        storage.setViewToolbarConfig(QStringLiteral("Console"), {}, true);
        const QStringList* stored = storage.getViewToolbarConfig(QStringLiteral("Console"), true);
        QVERIFY(stored);
        QVERIFY(stored->isEmpty());
        QVERIFY(!storage.getViewToolbarConfig(QStringLiteral("Console"), false)); // default and current differ
        storage.setViewToolbarConfig(QStringLiteral("Console"), {QStringLiteral("a"), QStringLiteral("b")}, false);
        QCOMPARE(*storage.getViewToolbarConfig(QStringLiteral("Console"), false), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    }

    void toolbarDefaultItemsNeedAnIdAndExactTrue()
    {
        QDomDocument document;
        const QDomElement toolbar = parse(document,
            QStringLiteral("<toolbar><item id='a' default='true'/><item id='b' default='false'/>"
                           "<item id='c' default='True'/><item id='' default='true'/><!-- note --></toolbar>"));
        QCOMPARE(LXToolbarService::defaultItems(toolbar), QStringList{QStringLiteral("a")});
        QVERIFY(LXToolbarService::defaultItems(QDomElement()).isEmpty());
    }

    void menusAndToolbarsPerformActionsAtResponders()
    {
        AC_Manager actions;
        CountingResponder parent(nullptr, QStringLiteral("Parent"));
        parent.initActionManager(&actions);
        CountingResponder* child = new CountingResponder(&parent, QStringLiteral("Child"));
        child->initActionManager(&actions);
        QCOMPARE(actions.responder(QStringLiteral("Child")), child);
        QCOMPARE(child->parentResponder(), &parent);

        QDomDocument document;
        const QDomElement element = parse(document,
            QStringLiteral("<menu id='top' text='Top'><action id='clear' text='Clear'/><separator/>"
                           "<menu id='sub' text='Sub'><action id='save' responder='Parent'/></menu>"
                           "<action id='unknown'/></menu>"));
        std::unique_ptr<AC_Menu> menu(actions.createMenu(element, child, nullptr));
        QVERIFY(menu);
        QCOMPARE(menu->title(), QStringLiteral("Top"));
        QCOMPARE(menu->actions().size(), 4);
        QSignalSpy triggered(&actions, &AC_Manager::actionTriggered);
        menu->findAction(QStringLiteral("clear"))->trigger();
        menu->findAction(QStringLiteral("save"))->trigger();
        menu->findAction(QStringLiteral("unknown"))->trigger();
        QCOMPARE(child->cleared, 1);
        QCOMPARE(parent.saved, 1);
        QCOMPARE(triggered.size(), 3);
        QCOMPARE(triggered.last().at(2).toBool(), false);
        auto* leaf = new AC_ResponderTemplateObject<QObject>(child, QStringLiteral("Leaf"));
        QVERIFY(leaf->perform(QStringLiteral("save"))); // passed on to the nearest responder
        QCOMPARE(child->saved, 1);
        QVERIFY(!leaf->perform(QStringLiteral("destroyed"))); // signals are not actions
        QVERIFY(!actions.createMenu(QDomElement(), nullptr, nullptr));

        LXToolbarService toolbars(&actions);
        const QDomElement toolbarElement = parse(document,
            QStringLiteral("<toolbar id='t'><item id='c' action='clear'/><separator id='s'/><item id='v' action='save'/></toolbar>"));
        std::unique_ptr<QToolBar> toolbar(toolbars.createToolbar(toolbarElement, {QStringLiteral("v"), QStringLiteral("s"),
                                                                                   QStringLiteral("c"), QStringLiteral("gone")},
                                                                 child, nullptr));
        QCOMPARE(toolbar->actions().size(), 3);
        QVERIFY(toolbar->actions().at(1)->isSeparator());
        toolbar->actions().at(2)->trigger();
        QCOMPARE(child->cleared, 2);

        delete child; // unregisters itself
        QVERIFY(!actions.responder(QStringLiteral("Child")));
        menu->findAction(QStringLiteral("clear"))->trigger(); // its responder is gone: nothing happens
    }

    // As a console's menu, built without a responder and given to the view.
    void viewItemsWithoutResponderReachTheFocusWidgetFirst()
    {
        AC_Manager actions;
        QWidget window;
        auto* view = new EditorView(&actions, &window);
        view->editor->setPlainText(QStringLiteral("text"));
        view->editor->setFocus();
        QDomDocument document;
        view->setMenu(actions.createMenu(parse(document, QStringLiteral("<menu><action id='selectAll'/><action id='mark'/>"
                                                                        "<action id='paste' responder='Editor View'/></menu>")),
                                         nullptr, nullptr),
                      0);
        AC_Menu* menu = view->menu(0);
        QCOMPARE(actions.boundResponder(menu->findAction(QStringLiteral("mark"))), static_cast<AC_Responder*>(view));
        QVERIFY(actions.performBound(menu->findAction(QStringLiteral("selectAll"))));
        QCOMPARE(view->editor->textCursor().selectedText(), QStringLiteral("text"));
        QVERIFY(actions.performBound(menu->findAction(QStringLiteral("mark")))); // the editor has no mark()
        QCOMPARE(view->marked, 1);
        QVERIFY(!actions.performBound(menu->findAction(QStringLiteral("paste")))); // named: the view only

        LXToolbarService toolbars(&actions);
        std::unique_ptr<QToolBar> toolbar(toolbars.createToolbar(parse(document, QStringLiteral("<toolbar><item id='clear'/></toolbar>")),
                                                                 {QStringLiteral("clear")}, view, nullptr));
        toolbar->actions().constFirst()->trigger();
        QVERIFY(view->editor->toPlainText().isEmpty());
        QAction plain;
        QVERIFY(!actions.performBound(&plain));
    }

    void resourceFoldersAndIconManagerFindIcons()
    {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("icons")));
        const QString folder = m_dir.filePath(QStringLiteral("icons"));
        QFile icon(folder + QStringLiteral("/run.svg"));
        QVERIFY(icon.open(QIODevice::WriteOnly));
        icon.close();
        AC_Manager actions;
        QVERIFY(!actions.addResourceFolder(m_dir.filePath(QStringLiteral("missing"))));
        QVERIFY(actions.iconPath(QStringLiteral("run.svg")).isEmpty());
        WID_IconManager::instance()->addSearchDirectory(folder);
        QCOMPARE(WID_IconManager::instance()->iconPath(QStringLiteral("run")), icon.fileName());
        QCOMPARE(actions.iconPath(QStringLiteral("run.svg")), icon.fileName());
        QVERIFY(actions.addResourceFolder(folder));
        QCOMPARE(actions.resourceFolders(), QStringList{folder});
    }

    void pluginAreasBecomeDocksWithMenuAndToolbar()
    {
        AC_Manager actions;
        LXToolbarService toolbars(&actions);
        PLUG_Services::setToolbarService(&toolbars);
        LXLayoutManager layout(&lxPref);
        QSignalSpy saved(&layout, &LXLayoutManager::sceneSaved);
        TestView::created = 0;
        QVERIFY(layout.addPluginArea(QStringLiteral("Area"), QStringLiteral("Area Title"), new TestView(&actions, nullptr),
                                     true, false, false, QSize(), false, false, false));
        QVERIFY(!layout.addPluginArea(QStringLiteral("Area"), QString(), new TestView(&actions, nullptr),
                                      true, false, false, QSize(), false, false, false));
        QVERIFY(!layout.addPluginArea(QStringLiteral("Other"), QString(), nullptr, true, false, false, QSize(), false, false, false));
        QCOMPARE(layout.areas().size(), 1);
        QVERIFY(!layout.dock(QStringLiteral("Area")));

        {
            QMainWindow window;
            layout.setMainWindow(&window);
            QDockWidget* dock = layout.dock(QStringLiteral("Area"));
            QVERIFY(dock);
            QCOMPARE(dock->windowTitle(), QStringLiteral("Area Title"));
            QCOMPARE(TestView::created, 1);
            LXLayoutView* view = layout.view(QStringLiteral("Area"));
            QVERIFY(view);
            QCOMPARE(view->menuIdentity(), QStringLiteral("Test View"));
            QVERIFY(dock->isAncestorOf(view->widget()));
            QVERIFY(view->menu(0));
            const QList<QToolBar*> bars = dock->findChildren<QToolBar*>();
            QCOMPARE(bars.size(), 1);
            QCOMPARE(bars.first()->actions().size(), 1); // the default items: a
            layout.saveScene();
            QCOMPARE(saved.size(), 1);
            layout.setMainWindow(nullptr);
        }
        QVERIFY(!layout.view(QStringLiteral("Area")));
        PLUG_Services::setToolbarService(nullptr);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestUiServices)
#include "tst_UiServices.moc"
