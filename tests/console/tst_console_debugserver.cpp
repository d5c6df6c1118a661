// The debug server as an IDE meets it: the Debug Adapter Protocol spoken over its socket, a
// breakpoint in a file run from the console, a variable read while Python is stopped (the
// window's event loop answers meanwhile) and the run going on.
#include "support/ConsoleTestCase.h"

#include "console/PythonScriptDebugServer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>
#include <QTemporaryDir>

// A client of the protocol: requests go out numbered, messages come in whole.
class DapClient : public QObject
{
    Q_OBJECT
public:
    QTcpSocket socket;
    QList<QJsonObject> received;

    DapClient() { connect(&socket, &QTcpSocket::readyRead, this, &DapClient::read); }

    void request(const QString& command, const QJsonObject& arguments = {})
    {
        const QJsonObject message{{"seq", ++sequence}, {"type", "request"}, {"command", command}, {"arguments", arguments}};
        const QByteArray body = QJsonDocument(message).toJson(QJsonDocument::Compact);
        socket.write("Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
    }

    // The first message of that kind ("response" or "event") and name, waited for.
    QJsonObject waitFor(const QString& type, const QString& name)
    {
        QJsonObject found;
        const bool arrived = QTest::qWaitFor([&] { return !(found = take(type, name)).isEmpty(); }, 20000);
        return arrived ? found : QJsonObject();
    }

    QJsonObject take(const QString& type, const QString& name)
    {
        for (qsizetype at = 0; at < received.size(); ++at) {
            const QJsonObject& message = received.at(at);
            if (message["type"] == type && message[type == "event" ? "event" : "command"] == name)
                return received.takeAt(at);
        }
        return {};
    }

signals:
    void messageReceived(const QJsonObject& message);

private:
    void read()
    {
        buffer += socket.readAll();
        for (;;) {
            const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
            if (headerEnd < 0)
                return;
            const QByteArray header = buffer.left(headerEnd);
            const qsizetype length = header.mid(header.indexOf(':') + 1).trimmed().toLongLong();
            if (buffer.size() < headerEnd + 4 + length)
                return;
            const QJsonObject message = QJsonDocument::fromJson(buffer.mid(headerEnd + 4, length)).object();
            buffer.remove(0, headerEnd + 4 + length);
            received.append(message);
            emit messageReceived(message);
        }
    }

    int sequence = 0;
    QByteArray buffer;
};

class tst_console_debugserver : public ConsoleTestCase
{
    Q_OBJECT

    QTemporaryDir folder;

private slots:
    void initTestCase()
    {
        openConsole();
        // The interpreter's own package folders, where Debian installs debugpy.
        user.submit("import site, sys; sys.path.extend(p for p in site.getsitepackages() if p not in sys.path)");
        user.submit("import importlib.util; print(importlib.util.find_spec('debugpy') is not None)");
        if (!user.lastLines(2).startsWith("True"))
            QSKIP("debugpy is not importable by the build's Python (Debian: python3-debugpy)");
    }

    void offUntilTheUserStartsIt()
    {
        QCOMPARE(PythonScriptDebugServer::configuredPort(), 0);
        QVERIFY(!PythonScriptDebugServer::instance()->isListening());
    }

    // The host's command line (the process variable) goes before the preference.
    void thePortComesFromTheCommandLineThenThePreference()
    {
        lxPref.setIntValue("PYTHON_DEBUG_PORT", 5679);
        QCOMPARE(PythonScriptDebugServer::configuredPort(), 5679);
        qputenv("PYTHON_DEBUG_PORT", "5680");
        QCOMPARE(PythonScriptDebugServer::configuredPort(), 5680);
        qunsetenv("PYTHON_DEBUG_PORT");
        lxPref.remove("PYTHON_DEBUG_PORT");
        QVERIFY(!PythonScriptDebugServer::instance()->isListening());
    }

    void anIdeStopsAtABreakpointAndReadsAVariable()
    {
        PythonScriptDebugServer* server = PythonScriptDebugServer::instance();
        QVERIFY(server->start(0));
        QVERIFY2(user.text().contains(QStringLiteral("Debug server listening on 127.0.0.1:%1").arg(server->port())),
                 qPrintable(user.text().right(300)));

        DapClient client;
        client.socket.connectToHost("127.0.0.1", quint16(server->port()));
        QVERIFY(client.socket.waitForConnected(10000));
        client.request("initialize", {{"clientID", "test"}, {"adapterID", "debugpy"}, {"linesStartAt1", true},
                                      {"columnsStartAt1", true}, {"pathFormat", "path"}});
        QVERIFY(client.waitFor("response", "initialize")["success"].toBool());
        client.request("attach", {{"justMyCode", false}});
        QVERIFY(!client.waitFor("event", "initialized").isEmpty());

        const QString path = folder.filePath("target.py");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("def compute():\n    answer = 6 * 7\n    return answer\n\nresult = compute()\n");
        file.close();
        client.request("setBreakpoints", {{"source", QJsonObject{{"path", path}}}, {"breakpoints", QJsonArray{QJsonObject{{"line", 3}}}}});
        QVERIFY(client.waitFor("response", "setBreakpoints")["success"].toBool());
        client.request("configurationDone");
        QVERIFY(client.waitFor("response", "configurationDone")["success"].toBool());

        // While Python is stopped, the event loop runs this conversation.
        int stoppedLine = 0;
        QString answer;
        QString reason;
        connect(&client, &DapClient::messageReceived, this, [&](const QJsonObject& message) {
            const QJsonObject body = message["body"].toObject();
            if (message["event"] == "stopped") {
                reason = body["reason"].toString();
                client.request("stackTrace", {{"threadId", body["threadId"]}});
            } else if (message["command"] == "stackTrace") {
                const QJsonObject frame = body["stackFrames"].toArray().first().toObject();
                stoppedLine = frame["line"].toInt();
                client.request("scopes", {{"frameId", frame["id"]}});
            } else if (message["command"] == "scopes") {
                client.request("variables", {{"variablesReference", body["scopes"].toArray().first()["variablesReference"]}});
            } else if (message["command"] == "variables") {
                for (const QJsonValue& variable : body["variables"].toArray()) {
                    if (variable["name"] == "answer")
                        answer = variable["value"].toString();
                }
                client.request("continue", {{"threadId", 0}});
            }
        });
        const QString run = QStringLiteral("exec(compile(open(%1).read(), %1, 'exec'))").arg("'" + path + "'");
        user.submit(run);
        QCOMPARE(reason, "breakpoint");
        QCOMPARE(stoppedLine, 3);
        QCOMPARE(answer, "42");
        user.submit("print(result)");
        QCOMPARE(user.lastLines(2), "42\n>>> ");
        client.request("disconnect");
        client.waitFor("response", "disconnect");
    }
};

QTEST_MAIN(tst_console_debugserver)
#include "tst_console_debugserver.moc"
