#pragma once

#include <QString>
#include <QTextCursor>

class HostNativeFunctions;
class QPlainTextEdit;
class QScriptValue;
class QTextEdit;
class QWidget;

// The text operations of a QTextEdit or a QPlainTextEdit, whichever a widget is.
class HostTextEdit
{
public:
    explicit HostTextEdit(QWidget* widget);

    bool isValid() const { return m_rich || m_plain; }
    QTextCursor textCursor() const;
    void setTextCursor(const QTextCursor& cursor);
    // In the viewport's coordinates.
    QRect cursorRect() const;
    // The largest cursor position of the document.
    int lastPosition() const;
    // The foreground colour of the character at position, as "#rrggbb"; the text colour of the
    // widget's palette where the character's format sets none.
    QString colorAt(int position) const;

    // Host.textCursor, Host.setTextCursor, Host.textColorAt and Host.cursorRect.
    static void install(HostNativeFunctions& functions, QScriptValue& host);

private:
    QTextDocument* document() const;

    QTextEdit* m_rich;
    QPlainTextEdit* m_plain;
};
