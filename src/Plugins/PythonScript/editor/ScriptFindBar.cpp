#include "editor/ScriptFindBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

ScriptFindBar::ScriptFindBar(QWidget* parent)
    : QWidget(parent), findText(new QLineEdit(this)), replaceText(new QLineEdit(this))
{
    findText->setPlaceholderText(tr("Find"));
    replaceText->setPlaceholderText(tr("Replace with"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(findText);
    layout->addWidget(replaceText);
    auto addButton = [this, layout](const QString& text, const char* name) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QLatin1String(name));
        layout->addWidget(button);
        return button;
    };
    connect(addButton(tr("Next"), "findNext"), &QPushButton::clicked, this, &ScriptFindBar::findNext);
    connect(addButton(tr("Replace"), "replace"), &QPushButton::clicked, this, &ScriptFindBar::replaceOne);
    connect(addButton(tr("Replace All"), "replaceAll"), &QPushButton::clicked, this, &ScriptFindBar::replaceAll);
    connect(addButton(tr("Close"), "close"), &QPushButton::clicked, this, &QWidget::hide);
    connect(findText, &QLineEdit::returnPressed, this, &ScriptFindBar::findNext);
    connect(replaceText, &QLineEdit::returnPressed, this, &ScriptFindBar::replaceOne);
    hide();
}

void ScriptFindBar::setEditor(QPlainTextEdit* target)
{
    editor = target;
}

void ScriptFindBar::start()
{
    if (editor && editor->textCursor().hasSelection() && !editor->textCursor().selectedText().contains(QChar::ParagraphSeparator))
        findText->setText(editor->textCursor().selectedText());
    show();
    findText->selectAll();
    findText->setFocus(Qt::ShortcutFocusReason);
}

bool ScriptFindBar::find(bool backward)
{
    if (!editor || findText->text().isEmpty())
        return false;
    const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (editor->find(findText->text(), flags))
        return true;
    // Wrap around: start over from the other end.
    QTextCursor restart(editor->document());
    restart.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    const QTextCursor previous = editor->textCursor();
    editor->setTextCursor(restart);
    if (editor->find(findText->text(), flags))
        return true;
    editor->setTextCursor(previous);
    return false;
}

bool ScriptFindBar::findNext()
{
    return find(false);
}

bool ScriptFindBar::findPrevious()
{
    return find(true);
}

void ScriptFindBar::replaceOne()
{
    if (!editor)
        return;
    QTextCursor cursor = editor->textCursor();
    if (cursor.hasSelection() && cursor.selectedText() == findText->text())
        cursor.insertText(replaceText->text());
    findNext();
}

int ScriptFindBar::replaceAll()
{
    if (!editor || findText->text().isEmpty())
        return 0;
    int replaced = 0;
    QTextCursor edit(editor->document());
    edit.beginEditBlock();
    QTextCursor found = editor->document()->find(findText->text(), 0);
    while (!found.isNull()) {
        found.insertText(replaceText->text());
        ++replaced;
        found = editor->document()->find(findText->text(), found.position());
    }
    edit.endEditBlock();
    return replaced;
}

void ScriptFindBar::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        if (editor)
            editor->setFocus(Qt::OtherFocusReason);
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers().testFlag(Qt::ShiftModifier)) {
        findPrevious();
        return;
    }
    QWidget::keyPressEvent(event);
}
