#include "FakePythonModule.h"

#include "MSG_Scope.h"

#include <QRegularExpression>

QVariant FakePythonModule::execute(const QString& code)
{
    if (code.startsWith(QLatin1String("raise"))) {
        MSG_Scope("Traceback (most recent call last):", 2);
        MSG_Scope(code, 2);
        return QVariant();
    }
    static const QRegularExpression definition(QStringLiteral("^def (\\w+)"), QRegularExpression::MultilineOption);
    for (auto match = definition.globalMatch(code); match.hasNext();) {
        const QString functionName = match.next().captured(1);
        define(functionName, [functionName](const QVariantList& args) {
            QStringList texts;
            for (const QVariant& arg : args)
                texts.append(arg.toString());
            return QVariant(QStringLiteral("%1(%2)").arg(functionName, texts.join(QLatin1Char(','))));
        });
    }
    return code == QLatin1String("None") ? QVariant() : QVariant(code);
}
