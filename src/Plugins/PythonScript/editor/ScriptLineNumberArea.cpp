#include "editor/ScriptLineNumberArea.h"

#include "editor/ScriptCodeEditor.h"

ScriptLineNumberArea::ScriptLineNumberArea(ScriptCodeEditor* editor)
    : QWidget(editor), editor(editor)
{
}

QSize ScriptLineNumberArea::sizeHint() const
{
    return {editor->lineNumberAreaWidth(), 0};
}

void ScriptLineNumberArea::paintEvent(QPaintEvent* event)
{
    editor->paintLineNumbers(event);
}
