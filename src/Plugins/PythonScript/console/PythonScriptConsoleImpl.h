#pragma once

#include <PythonQtObjectPtr.h>

#include <QObject>

class PythonScriptConsoleTextEdit;
class QLayout;
class QWidget;

// Stands between the console view and its editor: creates the editor in the view's layout and
// writes the start-up banner.
class PythonScriptConsoleImpl : public QObject
{
    Q_OBJECT
public:
    PythonScriptConsoleImpl(QWidget* parentWidget, QLayout* layout, const PythonQtObjectPtr& context);
    ~PythonScriptConsoleImpl() override;

    PythonScriptConsoleTextEdit* consoleEditor() const { return editor; }

public slots:
    void onSceneSave();

private:
    PythonQtObjectPtr context;
    PythonScriptConsoleTextEdit* editor = nullptr;
};
