#pragma once

#include "support/ConsoleHost.h"
#include "support/ConsoleUser.h"

#include "console/PythonScriptConsoleTextEdit.h"

#include <QTest>
#include <QTextCursor>

#include <memory>

// Base of the test cases that drive the plug-in's console editor, shown and focused, with real
// events.
class ConsoleTestCase : public QObject
{
protected:
    // For initTestCase; a failed check leaves the case's remaining checks to Qt Test.
    void openConsole()
    {
        host = std::make_unique<ConsoleHost>();
        edit = host->editor();
        QVERIFY(edit);
        user = ConsoleUser(edit);
        QVERIFY(QTest::qWaitForWindowExposed(host->window()));
        QTRY_VERIFY(edit->hasFocus());
    }

    // For init: a block a previous case left open is ended before the console is emptied.
    void emptyConsole()
    {
        if (edit->getCommandPrompt() == PythonScriptConsoleTextEdit::continuationPrompt)
            user.press("{Shift+Return}");
        edit->clear();
    }

    // The format of the second character of the last occurrence of text.
    QTextCharFormat formatOf(const QString& text) const
    {
        QTextCursor cursor(edit->document());
        cursor.setPosition(int(edit->toPlainText().lastIndexOf(text)) + 1);
        return cursor.charFormat();
    }

    std::unique_ptr<ConsoleHost> host;
    PythonScriptConsoleTextEdit* edit = nullptr;
    ConsoleUser user;
};
