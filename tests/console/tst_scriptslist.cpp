// The scripts list: which files of a folder count as scripts, whether the engine has each one
// loaded, the folder kinds that give no list, and the delegate's background fill.
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
#include <QSet>
#include <QStandardItemModel>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

namespace {

const QRect cellRect(0, 0, 48, 16);
const QColor canvasColour(Qt::white);
const QFileDevice::Permissions openFolder = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

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

// The scripts' paths in the order a plain recursive iterator meets them.
QStringList iteratorOrder(const QString& folder, const QList<PythonScriptInfo>& scripts)
{
    QStringList scriptPaths;
    for (const PythonScriptInfo& script : scripts)
        scriptPaths << script.filePath;
    QStringList ordered;
    QDirIterator entries(folder, QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QString path = QFileInfo(entries.next()).absoluteFilePath();
        if (scriptPaths.contains(path))
            ordered << path;
    }
    return ordered;
}

QStringList pathsOf(const QList<PythonScriptInfo>& scripts)
{
    QStringList paths;
    for (const PythonScriptInfo& script : scripts)
        paths << script.filePath;
    return paths;
}

void writeFiles(const QString& folder, const QStringList& relativePaths)
{
    for (const QString& path : relativePaths)
        writeFile(folder + QLatin1Char('/') + path, "x = 1\n");
}

// One cell painted onto a white canvas: first the fill (when valid), then the delegate.
QImage paintCell(const QStyledItemDelegate& delegate, const QModelIndex& index, const QColor& fill = QColor())
{
    QImage image(cellRect.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(canvasColour);
    QPainter painter(&image);
    if (fill.isValid())
        painter.fillRect(cellRect, fill);
    QStyleOptionViewItem option;
    option.rect = cellRect;
    option.state = QStyle::State_Enabled;
    delegate.paint(&painter, option, index);
    return image;
}

enum class Cell { StandardItem, NoItem, ChildItem, OtherModel };

} // namespace

Q_DECLARE_METATYPE(Cell)

class ScriptsListTest : public PluginTestCase
{
    Q_OBJECT

private:
    QTemporaryDir special;
    QTemporaryDir work;

    QString freshFolder(const QString& tag) { return work.filePath(QString(tag).replace(' ', '_')); }

private slots:
    void initTestCase()
    {
        QVERIFY(engine);
        QVERIFY(special.isValid() && work.isValid());
        BAPP_SetSharedSpecialFolders(special.path());
    }

    void scanKeepsPySuffixFilesInIteratorOrder_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("recursive");
        QTest::addColumn<QStringList>("expected");
        const QStringList mixed{"a.py", "b.PY", "c.pyc", "d.txt", "sub/e.py"};
        QTest::newRow("mixed suffixes, recursive") << mixed << true << QStringList{"a", "b", "e"};
        QTest::newRow("mixed suffixes, flat") << mixed << false << QStringList{"a", "b"};
        QTest::newRow("bare py and double suffix")
            << QStringList{"py", "a.b.py", "f.Py", "g.py.txt"} << true << QStringList{"f"};
        QTest::newRow("folder named like a script") << QStringList{"pkg.py/inner.py"} << true << QStringList{"inner"};
        QTest::newRow("deep nesting") << QStringList{"1/2/3/4/deep.py", "1/top.py"} << true
                                      << QStringList{"deep", "top"};
    }

    void scanKeepsPySuffixFilesInIteratorOrder()
    {
        QFETCH(QStringList, files);
        QFETCH(bool, recursive);
        QFETCH(QStringList, expected);
        const QString folder = freshFolder(QTest::currentDataTag());
        writeFiles(folder, files);

        const QList<PythonScriptInfo> scripts = scan(folder, recursive);
        QCOMPARE(sortedNames(scripts), expected);
        QCOMPARE(pathsOf(scripts), iteratorOrder(folder, scripts));
        for (const PythonScriptInfo& script : scripts) {
            QVERIFY(QFileInfo(script.filePath).isAbsolute());
            QVERIFY(QFileInfo(script.filePath).isFile());
            QVERIFY(!script.loaded);
            QVERIFY(!script.module);
            QVERIFY(script.auxText.isEmpty());
            QVERIFY(!script.auxFlag);
        }
    }

    void loadedMeansTheSameFileOrNoFile_data()
    {
        QTest::addColumn<QString>("moduleSource");
        QTest::addColumn<QString>("scannedAs");
        QTest::addColumn<bool>("loaded");
        QTest::newRow("not loaded") << "none" << "direct" << false;
        QTest::newRow("same name, other file") << "other file" << "direct" << false;
        QTest::newRow("same file") << "same file" << "direct" << true;
        QTest::newRow("same file, path through parent") << "same file" << "through parent" << true;
        QTest::newRow("same file, path through link") << "same file" << "through link" << true;
        QTest::newRow("module without a file") << "no file" << "direct" << true;
    }

    void loadedMeansTheSameFileOrNoFile()
    {
        QFETCH(QString, moduleSource);
        QFETCH(QString, scannedAs);
        QFETCH(bool, loaded);
        const QString folder = freshFolder(QTest::currentDataTag());
        const QString name = QStringLiteral("listed_%1").arg(QTest::currentDataTag()).replace(QRegularExpression("\\W"), "_");
        const QString script = writeFile(folder + "/scripts/" + name + ".py", "value = 1\n");
        const QString elsewhere = writeFile(folder + "/elsewhere/" + name + ".py", "value = 2\n");

        SCP_PythonModule* module = nullptr;
        if (moduleSource == "other file")
            module = engine->loadModule(elsewhere, false, QString());
        else if (moduleSource == "same file")
            module = engine->loadModule(script, false, QString());
        else if (moduleSource == "no file")
            module = engine->createModule(name);
        QCOMPARE(bool(module), moduleSource != "none");

        QString scanned = folder + "/scripts";
        if (scannedAs == "through parent") {
            scanned = folder + "/elsewhere/../scripts";
        } else if (scannedAs == "through link") {
            QVERIFY(QFile::link(folder + "/scripts", folder + "/linked"));
            scanned = folder + "/linked";
        }

        const QList<PythonScriptInfo> scripts = scan(scanned);
        QCOMPARE(scripts.size(), 1);
        QCOMPARE(scripts[0].name, name);
        QCOMPARE(scripts[0].loaded, loaded);
        QCOMPARE(scripts[0].module, loaded ? module : nullptr);
        // Asking a module without a file for its file name leaves that error pending, and the
        // scan neither reports nor clears errors; no other case may leave one.
        QCOMPARE(engine->hasError(), moduleSource == "no file");
    }

    void withoutSessionNothingIsLoaded()
    {
        const QString folder = freshFolder(QStringLiteral("no session"));
        const QString script = writeFile(folder + "/listed_without_session.py", "value = 1\n");
        QVERIFY(engine->loadModule(script, false, QString()));
        QVERIFY(scan(folder).value(0).loaded);

        PLUG_Services::setSessionContext(nullptr);
        const QList<PythonScriptInfo> scripts = scan(folder);
        PLUG_Services::setSessionContext(host.session());
        QCOMPARE(scripts.size(), 1);
        QVERIFY(!scripts[0].loaded);
        QVERIFY(!scripts[0].module);
    }

    void foldersWithoutScriptsGiveAnEmptyList_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << "missing";
        QTest::newRow("empty path") << "empty path";
        QTest::newRow("a file") << "a file";
        QTest::newRow("unreadable") << "unreadable";
    }

    void foldersWithoutScriptsGiveAnEmptyList()
    {
        QFETCH(QString, kind);
        QString folder = freshFolder(QTest::currentDataTag());
        if (kind == "empty path") {
            folder.clear();
        } else if (kind == "a file") {
            folder = writeFile(folder + ".py", "x = 1\n");
        } else if (kind == "unreadable") {
            writeFiles(folder, {"a.py"});
            QVERIFY(QFile::setPermissions(folder, QFileDevice::WriteOwner));
            const bool closed = ::access(QFile::encodeName(folder).constData(), R_OK) != 0;
            QVERIFY(QFile::setPermissions(folder, openFolder));
            if (!closed)
                QSKIP("this user reads every folder");
            QVERIFY(QFile::setPermissions(folder, QFileDevice::WriteOwner));
        }
        PythonScriptsController controller;
        controller.scripts = {PythonScriptInfo{QStringLiteral("kept"), {}, false, {}, nullptr, false}};
        controller.scanFolder(folder, true);
        if (kind == "unreadable")
            QFile::setPermissions(folder, openFolder);
        QCOMPARE(sortedNames(controller.scripts), QStringList{"kept"});
    }

    void unreadableSubfolderIsPassedOver()
    {
        const QString folder = freshFolder(QStringLiteral("unreadable sub"));
        writeFiles(folder, {"a.py", "closed/b.py", "open/c.py"});
        QVERIFY(QFile::setPermissions(folder + "/closed", QFileDevice::WriteOwner));
        const bool closed = ::access(QFile::encodeName(folder + "/closed").constData(), R_OK) != 0;
        const QStringList names = sortedNames(scan(folder));
        QFile::setPermissions(folder + "/closed", openFolder);
        const QStringList expected = closed ? QStringList{"a", "c"} : QStringList{"a", "b", "c"};
        QCOMPARE(names, expected);
    }

    void symbolicLinkLoopsEnd()
    {
        const QString folder = freshFolder(QStringLiteral("link loops"));
        writeFiles(folder, {"a.py", "sub/b.py"});
        QVERIFY(QFile::link(".", folder + "/self"));
        QVERIFY(QFile::link("..", folder + "/sub/up"));
        QVERIFY(QFile::link(folder, folder + "/sub/root.py"));
        QVERIFY(QFile::link("a.py", folder + "/linked.py"));
        // A linked folder is listed but never entered; a linked file is a script like any other.
        QCOMPARE(sortedNames(scan(folder)), (QStringList{"a", "b", "linked"}));
    }

    void fileNamesThatAreNotUtf8LeaveTheRestListed()
    {
        const QString folder = freshFolder(QStringLiteral("not utf8"));
        writeFiles(folder, {"plain.py"});
        const QByteArray oddName = QFile::encodeName(folder) + "/\xff\xfe odd.py";
        const int descriptor = ::open(oddName.constData(), O_CREAT | O_WRONLY, 0644);
        QVERIFY(descriptor >= 0);
        ::close(descriptor);

        const QList<PythonScriptInfo> scripts = scan(folder);
        // Qt's iterator passes over names it cannot decode (no QString could name the file
        // anyway), and neither would removing the folder: the test deletes it itself.
        ::unlink(oddName.constData());
        const QStringList names = sortedNames(scripts);
        QVERIFY2(names == QStringList{"plain"} || (names.size() == 2 && names[0] == "plain" && names[1].endsWith(" odd")),
                 qPrintable(names.join(", ")));
        for (const PythonScriptInfo& script : scripts)
            QVERIFY(!script.loaded && !script.module);
        QVERIFY(!engine->hasError());
    }

    void tenThousandFilesAreAllListed()
    {
        const QString folder = freshFolder(QStringLiteral("many"));
        QVERIFY(QDir().mkpath(folder));
        const int count = 10000;
        for (int i = 0; i < count; ++i) {
            QFile file(QStringLiteral("%1/s%2.%3").arg(folder).arg(i).arg(i % 2 ? "py" : "txt"));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QList<PythonScriptInfo> scripts = scan(folder);
        QCOMPARE(scripts.size(), count / 2);
        const QStringList paths = pathsOf(scripts);
        QCOMPARE(QSet<QString>(paths.cbegin(), paths.cend()).size(), count / 2);
    }

    void metaTypesConstructWorkingObjects()
    {
        writeFiles(special.path(), {"scripts/listed_top.py", "scripts/more/listed_nested.py", "outside.py"});

        const QMetaType controllerType = QMetaType::fromName("PythonScriptsController");
        QVERIFY(controllerType.isValid());
        auto* controller = static_cast<PythonScriptsController*>(controllerType.create());
        QVERIFY(controller);
        QVERIFY(!controller->parent());
        QCOMPARE(sortedNames(controller->scripts), (QStringList{"listed_nested", "listed_top"}));
        const QMetaObject* meta = controller->metaObject();
        QVERIFY(meta->indexOfSignal("scriptsChanged()") >= 0);
        QVERIFY(meta->indexOfSignal("scriptsChanged()") < meta->indexOfSignal("scriptChanged(int)"));
        controllerType.destroy(controller);

        const QMetaType delegateType = QMetaType::fromName("StandartItemDelegatePaintExt");
        QVERIFY(delegateType.isValid());
        auto* delegate = static_cast<StandartItemDelegatePaintExt*>(delegateType.create());
        QVERIFY(delegate);
        QVERIFY(!delegate->parent());
        QCOMPARE(delegate->metaObject()->className(), "StandartItemDelegatePaintExt");
        QStandardItemModel model;
        auto* item = new QStandardItem(QStringLiteral("x"));
        item->setBackground(Qt::red);
        model.appendRow(item);
        QCOMPARE(paintCell(*delegate, item->index()).pixelColor(cellRect.bottomRight()), QColor(Qt::red));
        delegateType.destroy(delegate);
    }

    void delegateFillsTheItemColourUnderTheNormalPainting_data()
    {
        QTest::addColumn<Cell>("cell");
        QTest::addColumn<bool>("setBackground");
        QTest::addColumn<QBrush>("background");
        QTest::addColumn<QColor>("fill");
        QBrush redColourOnly;
        redColourOnly.setColor(Qt::red);
        const QColor none;
        QTest::newRow("transparent") << Cell::StandardItem << true << QBrush(Qt::transparent) << none;
        QTest::newRow("red") << Cell::StandardItem << true << QBrush(Qt::red) << QColor(Qt::red);
        QTest::newRow("red colour, no brush style") << Cell::StandardItem << true << redColourOnly << QColor(Qt::red);
        QTest::newRow("red pattern") << Cell::StandardItem << true << QBrush(Qt::red, Qt::Dense5Pattern) << QColor(Qt::red);
        QTest::newRow("never set") << Cell::StandardItem << false << QBrush() << QColor(Qt::black);
        QTest::newRow("red child item") << Cell::ChildItem << true << QBrush(Qt::red) << QColor(Qt::red);
        QTest::newRow("cell without item") << Cell::NoItem << false << QBrush() << none;
        QTest::newRow("not a standard model") << Cell::OtherModel << false << QBrush() << none;
    }

    void delegateFillsTheItemColourUnderTheNormalPainting()
    {
        QFETCH(Cell, cell);
        QFETCH(bool, setBackground);
        QFETCH(QBrush, background);
        QFETCH(QColor, fill);

        QStandardItemModel standard;
        QStringListModel other({QStringLiteral("x")});
        auto* item = new QStandardItem(QStringLiteral("x"));
        if (setBackground)
            item->setBackground(background);
        QModelIndex index;
        switch (cell) {
        case Cell::StandardItem:
            standard.appendRow(item);
            index = item->index();
            break;
        case Cell::ChildItem: {
            // The top-level item in the same row and column has a colour of its own.
            auto* top = new QStandardItem(QStringLiteral("top"));
            top->setBackground(Qt::green);
            standard.appendRow(top);
            top->appendRow(item);
            index = item->index();
            break;
        }
        case Cell::NoItem:
            delete item;
            standard.setRowCount(1);
            standard.setColumnCount(1);
            index = standard.index(0, 0);
            QVERIFY(!standard.item(0, 0));
            break;
        case Cell::OtherModel:
            delete item;
            index = other.index(0, 0);
            break;
        }
        QVERIFY(index.isValid());

        const QImage painted = paintCell(StandartItemDelegatePaintExt(nullptr), index);
        QCOMPARE(painted, paintCell(QStyledItemDelegate(), index, fill));
        QCOMPARE(painted.pixelColor(cellRect.bottomRight()), fill.isValid() ? fill : canvasColour);
        if (cell == Cell::NoItem)
            QVERIFY(!standard.item(0, 0));
    }
};

QTEST_MAIN(ScriptsListTest)
#include "tst_scriptslist.moc"
