#include "HeadlessQtMessages.h"

#include <QString>

QtMessageHandler HeadlessQtMessages::previous = nullptr;

void HeadlessQtMessages::install()
{
    previous = qInstallMessageHandler(handle);
}

void HeadlessQtMessages::handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    previous(type, context, message);
}
