// The least a Qt host with scripting does before it runs anything: an offscreen application and
// a JavaScript engine. bench_startup launches it as a start-up baseline.
#include <QApplication>
#include <QJSEngine>

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QJSEngine engine;
    return engine.evaluate(QStringLiteral("1 + 1")).toInt() == 2 ? 0 : 1;
}
