// The scripts list: which files of a folder count as scripts, whether the engine has each one
// loaded, folders that give no scripts, construction through the meta-types, and the
// delegate's background fill.
#include "console/PythonScriptsController.h"
#include "console/StandartItemDelegatePaintExt.h"
#include "support/PluginTestCase.h"
#include "support/TestFiles.h"

#include <BAPP_SharedSpecialFolders.h>
#include <PLUG_Services.h>
#include <SCP_PythonEngine.h>
#include <SCP_PythonModule.h>

#include <QDirIterator>
#include <QPainter>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QRect cellRect(0, 0, 48, 16);

QList<PythonScriptInfo> scan(const QString& folder, bool recursive = true)
{
    PythonScriptsController controller;
    controller.scripts.clear();
    controller.scanFolder(folder, recursive);
    return controller.scripts;
}

QStringList sortedNames(const QList<PythonScriptInfo>& scripts)
{
    QStringList names;
    for (const PythonScriptInfo& script : scripts)
        names << script.name;
    names.sort();
    return names;
}

// One cell painted onto a white canvas: first the fill (when valid), then the delegate.
QImage paintCell(const QStyledItemDelegate& delegate, const QModelIndex& index, const QColor& fill = QColor())
{
    QImage image(cellRect.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    if (fill.isValid())
        painter.fillRect(cellRect, fill);
    QStyleOptionViewItem option;
    option.rect = cellRect;
    option.state = QStyle::State_Enabled;
    delegate.paint(&painter, option, index);
    return image;
}

} // namespace

class tst_console_scriptslist : public PluginTestCase
{
    Q_OBJECT

    QTemporaryDir special;
    QTemporaryDir work;

    QString freshFolder(const QString& tag) { return work.filePath(QString(tag).replace(QRegularExpression("\\W"), "_")); }

private slots:
    void initTestCase()
    {
        QVERIFY(engine);
        QVERIFY(special.isValid());
        QVERIFY(work.isValid());
        BAPP_SetSharedSpecialFolders(special.path());
    }

    // Files, with "name>target" a symbolic link; a linked folder is never entered, a linked file
    // is a script like any other.
    void scanKeepsPySuffixFilesInIteratorOrder_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("recursive");
        QTest::addColumn<QStringList>("expected");
        const QStringList mixed{"a.py", "b.PY", "c.pyc", "d.txt", "sub/e.py"};
        QTest::newRow("mixed suffixes, recursive") << mixed << true << QStringList{"a", "b", "e"};
        QTest::newRow("mixed suffixes, flat") << mixed << false << QStringList{"a", "b"};
        QTest::newRow("bare py and double suffix") << QStringList{"py", "a.b.py", "f.Py", "g.py.txt"} << true << QStringList{"f"};
        QTest::newRow("folder named like a script") << QStringList{"pkg.py/inner.py"} << true << QStringList{"inner"};
        QTest::newRow("link loops") << QStringList{"a.py", "sub/b.py", "self>.", "sub/up>..", "sub/root.py>..", "linked.py>a.py"} << true
                                    << QStringList{"a", "b", "linked"};
    }

    void scanKeepsPySuffixFilesInIteratorOrder()
    {
        QFETCH(QStringList, files);
        QFETCH(bool, recursive);
        const QString folder = freshFolder(QTest::currentDataTag());
        for (const QString& file : files) {
            if (file.contains('>'))
                QVERIFY(QFile::link(file.section('>', 1), folder + '/' + file.section('>', 0, 0)));
            else
                writeFile(folder + '/' + file, "x = 1\n");
        }
        const QList<PythonScriptInfo> scripts = scan(folder, recursive);
        QTEST(sortedNames(scripts), "expected");
        // Absolute paths, in the order a plain iterator meets the files.
        QStringList paths;
        for (const PythonScriptInfo& script : scripts)
            paths << script.filePath;
        QStringList met;
        for (QDirIterator entries(folder, QDirIterator::Subdirectories); entries.hasNext();) {
            const QString path = entries.nextFileInfo().absoluteFilePath();
            if (paths.contains(path))
                met << path;
        }
        QCOMPARE(paths, met);
    }

    void loadedMeansTheSameFileOrNoFile_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("scannedAs");
        QTest::addColumn<bool>("loaded");
        QTest::newRow("not loaded") << "none" << "direct" << false;
        QTest::newRow("same name, other file") << "other file" << "direct" << false;
        QTest::newRow("same file") << "same file" << "direct" << true;
        QTest::newRow("same file, path through link") << "same file" << "through link" << true;
        QTest::newRow("same file, no session") << "same file" << "without session" << false;
        QTest::newRow("module without a file") << "no file" << "direct" << true;
    }

    void loadedMeansTheSameFileOrNoFile()
    {
        QFETCH(QString, source);
        QFETCH(QString, scannedAs);
        const QString folder = freshFolder(QTest::currentDataTag());
        const QString name = "listed_" + folder.section('/', -1);
        const QString script = writeFile(folder + "/scripts/" + name + ".py", "value = 1\n");
        const QString elsewhere = writeFile(folder + "/elsewhere/" + name + ".py", "value = 2\n");
        SCP_PythonModule* module = source == "other file" ? engine->loadModule(elsewhere, false, QString())
                                   : source == "same file" ? engine->loadModule(script, false, QString())
                                   : source == "no file"   ? engine->createModule(name)
                                                           : nullptr;
        QCOMPARE(bool(module), source != "none");

        QString scanned = folder + "/scripts";
        if (scannedAs == "through link") {
            QVERIFY(QFile::link(scanned, folder + "/linked"));
            scanned = folder + "/linked";
        }
        if (scannedAs == "without session")
            PLUG_Services::setSessionContext(nullptr);
        const QList<PythonScriptInfo> scripts = scan(scanned);
        PLUG_Services::setSessionContext(host.session());
        QCOMPARE(sortedNames(scripts), QStringList{name});
        QTEST(scripts[0].loaded, "loaded");
        QCOMPARE(scripts[0].module, scripts[0].loaded ? module : nullptr);
        // Asking a module without a file for its file name leaves that error pending, and the
        // scan neither reports nor clears errors; no other case may leave one.
        QCOMPARE(engine->hasError(), source == "no file");
    }

    // A folder that is no folder appends nothing; an empty path must not mean the working folder.
    void foldersWithoutScriptsLeaveTheListAsItWas()
    {
        const QString working = freshFolder("working");
        writeFile(working + "/here.py", "x = 1\n");
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(working));
        for (const QString& folder : {QString(), freshFolder("missing"), working + "/here.py"}) {
            PythonScriptsController controller;
            controller.scripts = {PythonScriptInfo{"kept", {}, false, {}, nullptr, false}};
            controller.scanFolder(folder, true);
            QCOMPARE(sortedNames(controller.scripts), QStringList{"kept"});
        }
        QDir::setCurrent(previous);
    }

    void metaTypesConstructWorkingObjects()
    {
        writeFile(special.filePath("scripts/listed_top.py"), "x = 1\n");
        writeFile(special.filePath("scripts/more/listed_nested.py"), "x = 1\n");
        writeFile(special.filePath("outside.py"), "x = 1\n");
        const QMetaType controllerType = QMetaType::fromName("PythonScriptsController");
        auto* controller = static_cast<PythonScriptsController*>(controllerType.create());
        QVERIFY(controller);
        QVERIFY(!controller->parent());
        QCOMPARE(sortedNames(controller->scripts), (QStringList{"listed_nested", "listed_top"}));
        controllerType.destroy(controller);

        const QMetaType delegateType = QMetaType::fromName("StandartItemDelegatePaintExt");
        auto* delegate = static_cast<QObject*>(delegateType.create());
        QVERIFY(qobject_cast<StandartItemDelegatePaintExt*>(delegate));
        QVERIFY(!delegate->parent());
        delegateType.destroy(delegate);
    }

    void delegateFillsTheItemColourUnderTheNormalPainting_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QBrush>("background");
        QTest::addColumn<QColor>("fill");
        QBrush redColourOnly;
        redColourOnly.setColor(Qt::red);
        QTest::newRow("red") << "item" << QBrush(Qt::red) << QColor(Qt::red);
        QTest::newRow("red colour, no brush style") << "item" << redColourOnly << QColor(Qt::red);
        QTest::newRow("never set") << "item" << QBrush() << QColor(Qt::black);
        QTest::newRow("red child item") << "child" << QBrush(Qt::red) << QColor(Qt::red);
        QTest::newRow("cell without item") << "none" << QBrush() << QColor();
        QTest::newRow("not a standard model") << "other model" << QBrush() << QColor();
    }

    void delegateFillsTheItemColourUnderTheNormalPainting()
    {
        QFETCH(QString, cell);
        QFETCH(QBrush, background);
        QFETCH(QColor, fill);
        QStandardItemModel standard(1, 1);
        QStringListModel other({"x"});
        auto* item = new QStandardItem("x");
        if (background != QBrush())
            item->setBackground(background);
        QModelIndex index = standard.index(0, 0);
        if (cell == "item") {
            standard.setItem(0, 0, item);
        } else if (cell == "child") {
            // The top-level item in the same row and column has a colour of its own.
            standard.setItem(0, 0, new QStandardItem("top"));
            standard.item(0, 0)->setBackground(Qt::green);
            standard.item(0, 0)->appendRow(item);
            index = item->index();
        } else {
            delete item;
            index = cell == "none" ? index : other.index(0, 0);
        }
        const QImage painted = paintCell(StandartItemDelegatePaintExt(nullptr), index);
        QCOMPARE(painted, paintCell(QStyledItemDelegate(), index, fill));
        QCOMPARE(painted.pixelColor(cellRect.bottomRight()), fill.isValid() ? fill : QColor(Qt::white));
        // Painting makes no item where the cell has none.
        QCOMPARE(!standard.item(0, 0), cell == "none" || cell == "other model");
    }
};

QTEST_MAIN(tst_console_scriptslist)
#include "tst_console_scriptslist.moc"
