#pragma once

#include <QWidget>

class ScriptCodeEditor;

// The margin beside a script editor that shows the numbers of the visible lines.
class ScriptLineNumberArea : public QWidget
{
public:
    explicit ScriptLineNumberArea(ScriptCodeEditor* editor);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ScriptCodeEditor* editor;
};
