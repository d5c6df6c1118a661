#include "HostTextEdit.h"

#include "HostNativeFunctions.h"
#include "HostScriptCall.h"

#include <QPlainTextEdit>
#include <QScriptEngine>
#include <QTextBlock>
#include <QTextEdit>

namespace {

// The edit behind argument 0, or a failed call.
HostTextEdit textEditArgument(HostScriptCall& call)
{
    QWidget* widget = call.widget(0);
    HostTextEdit edit(widget);
    if (widget && !edit.isValid())
        call.fail(QStringLiteral("argument 1 is not a text edit: %1").arg(QString::fromLatin1(widget->metaObject()->className())));
    return edit;
}

// A position argument within the document of edit.
int positionArgument(HostScriptCall& call, const HostTextEdit& edit, int index)
{
    const int position = call.integer(index);
    if (!call.failed() && (position < 0 || position > edit.lastPosition()))
        call.fail(QStringLiteral("position %1 is outside the document (0 to %2)").arg(position).arg(edit.lastPosition()));
    return position;
}

QScriptValue scriptObject(QScriptEngine* engine, std::initializer_list<std::pair<const char*, QScriptValue>> properties)
{
    QScriptValue object = engine->newObject();
    for (const auto& [name, value] : properties)
        object.setProperty(QString::fromLatin1(name), value);
    return object;
}

} // namespace

HostTextEdit::HostTextEdit(QWidget* widget)
    : m_rich(qobject_cast<QTextEdit*>(widget)), m_plain(qobject_cast<QPlainTextEdit*>(widget))
{
}

QTextDocument* HostTextEdit::document() const
{
    return m_rich ? m_rich->document() : m_plain->document();
}

QTextCursor HostTextEdit::textCursor() const
{
    return m_rich ? m_rich->textCursor() : m_plain->textCursor();
}

void HostTextEdit::setTextCursor(const QTextCursor& cursor)
{
    if (m_rich)
        m_rich->setTextCursor(cursor);
    else
        m_plain->setTextCursor(cursor);
}

QRect HostTextEdit::cursorRect() const
{
    return m_rich ? m_rich->cursorRect() : m_plain->cursorRect();
}

int HostTextEdit::lastPosition() const
{
    return document()->characterCount() - 1;
}

QString HostTextEdit::colorAt(int position) const
{
    const QTextBlock block = document()->findBlock(position);
    QTextCharFormat format = block.charFormat();
    for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
        const QTextFragment part = fragment.fragment();
        if (part.contains(position)) {
            format = part.charFormat();
            break;
        }
    }
    const QWidget* widget = m_rich ? static_cast<QWidget*>(m_rich) : m_plain;
    const QBrush brush = format.foreground();
    return (brush.style() == Qt::NoBrush ? widget->palette().color(QPalette::Text) : brush.color()).name();
}

void HostTextEdit::install(HostNativeFunctions& functions, QScriptValue& host)
{
    functions.add(host, QStringLiteral("textCursor"), [](HostScriptCall& call) {
        const HostTextEdit edit = textEditArgument(call);
        if (call.failed())
            return QScriptValue();
        const QTextCursor cursor = edit.textCursor();
        // Paragraph separators read as line feeds, as a copy gives them.
        return scriptObject(call.engine(), {{"position", cursor.position()},
                                            {"anchor", cursor.anchor()},
                                            {"selectedText", cursor.selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'))}});
    });
    functions.add(host, QStringLiteral("setTextCursor"), [](HostScriptCall& call) {
        HostTextEdit edit = textEditArgument(call);
        const int position = call.failed() ? 0 : positionArgument(call, edit, 1);
        const int anchor = call.failed() ? 0 : positionArgument(call, edit, 2);
        if (!call.failed()) {
            QTextCursor cursor = edit.textCursor();
            cursor.setPosition(anchor);
            cursor.setPosition(position, QTextCursor::KeepAnchor);
            edit.setTextCursor(cursor);
        }
        return QScriptValue();
    });
    functions.add(host, QStringLiteral("textColorAt"), [](HostScriptCall& call) {
        const HostTextEdit edit = textEditArgument(call);
        const int position = call.failed() ? 0 : positionArgument(call, edit, 1);
        return call.failed() ? QScriptValue() : QScriptValue(edit.colorAt(position));
    });
    functions.add(host, QStringLiteral("cursorRect"), [](HostScriptCall& call) {
        const HostTextEdit edit = textEditArgument(call);
        if (call.failed())
            return QScriptValue();
        const QRect rect = edit.cursorRect();
        return scriptObject(call.engine(), {{"x", rect.x()}, {"y", rect.y()}, {"width", rect.width()}, {"height", rect.height()}});
    });
}
