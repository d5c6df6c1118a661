#pragma once

#include <QWidget>

class QLineEdit;
class QPlainTextEdit;

// Find and replace in the current script: Return in the find field finds the next match
// (Shift+Return the previous one), wrapping around the end; Escape hides the bar.
class ScriptFindBar : public QWidget
{
    Q_OBJECT
public:
    explicit ScriptFindBar(QWidget* parent);

    void setEditor(QPlainTextEdit* editor);
    // Shows the bar with the editor's selection as the text to find.
    void start();
    QLineEdit* findField() const { return findText; }
    QLineEdit* replaceField() const { return replaceText; }

public slots:
    bool findNext();
    bool findPrevious();
    void replaceOne();
    int replaceAll();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool find(bool backward);

    QPlainTextEdit* editor = nullptr;
    QLineEdit* findText;
    QLineEdit* replaceText;
};
