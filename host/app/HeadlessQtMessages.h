#pragma once

#include <QtGlobal>

// In headless runs bellwick is a Python launcher whose standard error carries what Python wrote.
// Qt's note that no XDG runtime folder is set (usual on render farms and in containers, and of no
// use to a run without a window) is dropped there; every other message goes on as before.
class HeadlessQtMessages
{
public:
    static void install();

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message);
    static QtMessageHandler previous;
};
