// The preference store and the toolbar layouts kept in it: values as a user may have edited them
// by hand, and every value read back the same by a later run.
#include <LXLayoutStorage.h>
#include <PR_Preference.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_host_settings : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;

    // A store on a fresh file, as a later run opens it.
    QString storeFile() const { return folder.filePath(QStringLiteral("%1.ini").arg(QTest::currentDataTag())); }

private slots:
    // Unparsable values read as the default: a hand edit must not change what the host does.
    void handEditedValues_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("bool word") << QByteArray("FALSE") << "bool" << QVariant(false);
        QTest::newRow("bool digit") << QByteArray("0") << "bool" << QVariant(false);
        QTest::newRow("bool other") << QByteArray("no") << "bool" << QVariant(true);
        QTest::newRow("int hex") << QByteArray("0x10") << "int" << QVariant(16);
        QTest::newRow("int trailing text") << QByteArray("12px") << "int" << QVariant(-1);
        QTest::newRow("rgb") << QByteArray("#102030") << "rgba" << QVariant(0xFF102030u);
        QTest::newRow("rgba") << QByteArray("#80102030") << "rgba" << QVariant(0x80102030u);
        QTest::newRow("rgba five digits") << QByteArray("#12345") << "rgba" << QVariant(0x01020304u);
        QTest::newRow("rgba decimal") << QByteArray("4278190080") << "rgba" << QVariant(0xFF000000u);
        QTest::newRow("string") << QByteArray("plain") << "string" << QVariant("plain");
        QTest::newRow("list") << QByteArray("a, b") << "list" << QVariant(QStringList{"a", "b"});
    }

    void handEditedValues()
    {
        QFETCH(QByteArray, stored);
        QFile file(storeFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[General]\nkey=" + stored + "\n");
        file.close();
        PR_Preference preferences;
        preferences.setStorageFile(file.fileName());
        QFETCH(QString, type);
        QVariant read;
        if (type == "bool")
            read = preferences.getBoolValue("key", true);
        else if (type == "int")
            read = preferences.getIntValue("key", -1);
        else if (type == "rgba")
            read = preferences.getRgbaValue("key", 0x01020304u);
        else if (type == "string")
            read = preferences.getStringValue("key", "default");
        else
            read = preferences.getStringListValue("key", {"default"});
        QTEST(read, "expected");
    }

    // Values come back as they were written, also those that the INI format gives a meaning of
    // its own (separators, "@" types, spaces, a list of one or none).
    void valuesSurviveALaterRun_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::newRow("comma") << QVariant("a,b");
        QTest::newRow("at sign") << QVariant("@Invalid()");
        QTest::newRow("padded") << QVariant("  padded  ");
        QTest::newRow("semicolon and quote") << QVariant("x; \"y\"");
        QTest::newRow("no items") << QVariant(QStringList());
        QTest::newRow("one item") << QVariant(QStringList{"only"});
        QTest::newRow("items with commas") << QVariant(QStringList{"a,b", "", "c"});
        QTest::newRow("colour") << QVariant(0x8050C14Bu);
        QTest::newRow("false") << QVariant(false);
    }

    void valuesSurviveALaterRun()
    {
        QFETCH(QVariant, value);
        const int type = value.metaType().id();
        {
            PR_Preference writer;
            writer.setStorageFile(storeFile());
            if (type == QMetaType::QStringList)
                writer.setStringListValue("key", value.toStringList());
            else if (type == QMetaType::UInt)
                writer.setRgbaValue("key", value.toUInt());
            else if (type == QMetaType::Bool)
                writer.setBoolValue("key", value.toBool());
            else
                writer.setStringValue("key", value.toString());
        }
        PR_Preference reader;
        reader.setStorageFile(storeFile());
        if (type == QMetaType::QStringList)
            QCOMPARE(reader.getStringListValue("key", {"default"}), value.toStringList());
        else if (type == QMetaType::UInt)
            QCOMPARE(reader.getRgbaValue("key", 0), value.toUInt());
        else if (type == QMetaType::Bool)
            QCOMPARE(reader.getBoolValue("key", true), value.toBool());
        else
            QCOMPARE(reader.getStringValue("key", "default"), value.toString());
    }

    // A view's current and default toolbars are kept apart; an emptied toolbar stays empty.
    void toolbarLayouts()
    {
        PR_Preference preferences;
        preferences.setStorageFile(folder.filePath("layouts.ini"));
        LXLayoutStorage storage(&preferences);
        QVERIFY(!storage.getViewToolbarConfig("Area/View", false));
        storage.setViewToolbarConfig("Area/View", {"copy", "paste"}, true);
        storage.setViewToolbarConfig("Area/View", {}, false);
        storage.setViewToolbarConfig("Other", {"clear"}, false);

        LXLayoutStorage later(&preferences);
        const QStringList* defaults = later.getViewToolbarConfig("Area/View", true);
        QVERIFY(defaults);
        QCOMPARE(*defaults, (QStringList{"copy", "paste"}));
        const QStringList* current = later.getViewToolbarConfig("Area/View", false);
        QVERIFY(current);
        QCOMPARE(*current, QStringList());
        QVERIFY(!later.getViewToolbarConfig("Other", true));
    }
};

QTEST_MAIN(tst_host_settings)
#include "tst_host_settings.moc"
