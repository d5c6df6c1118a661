#include "editor/ScriptEditorView.h"

#include "editor/ScriptCodeEditor.h"
#include "editor/ScriptConsolePort.h"
#include "editor/ScriptFindBar.h"
#include "editor/ScriptRunCommand.h"
#include "editor/ScriptViewResources.h"

#include <AC_Menu.h>
#include <BAPP_SharedSpecialFolders.h>
#include <LXLayoutManager.h>
#include <PLUG_Services.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QInputDialog>
#include <QMessageBox>
#include <QSaveFile>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTabWidget>
#include <QTextBlock>
#include <QVBoxLayout>

const QString ScriptEditorView::areaId = QStringLiteral("Python Script Editor");

namespace {

bool readFile(const QString& filePath, QByteArray& content)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    content = file.readAll();
    return true;
}

QString scriptsFolder()
{
    return BAPP_SharedSpecialFolders() + QStringLiteral("/scripts");
}

} // namespace

ScriptEditorView::ScriptEditorView(AC_Manager* actionManager, QWidget* parent, const char* menuIdentity,
                                   Qt::WindowFlags flags)
    : LXWidgetLayoutView(actionManager, QStringLiteral("PythonScriptEditor"), parent, menuIdentity, flags)
{
    if (parent)
        buildView();
}

ScriptEditorView::~ScriptEditorView()
{
    if (tabs)
        saveSession();
}

ScriptEditorView* ScriptEditorView::inLayout()
{
    LXLayoutManager* layout = PLUG_Services::getLayoutManager();
    return layout ? dynamic_cast<ScriptEditorView*>(layout->view(areaId)) : nullptr;
}

void ScriptEditorView::buildView()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    tabs = new QTabWidget(this);
    tabs->setTabsClosable(true);
    tabs->setMovable(true);
    tabs->setDocumentMode(true);
    finder = new ScriptFindBar(this);
    watcher = new QFileSystemWatcher(this);
    layout->addWidget(tabs);
    layout->addWidget(finder);
    connect(tabs, &QTabWidget::tabCloseRequested, this, &ScriptEditorView::closeEditor);
    connect(tabs, &QTabWidget::currentChanged, this, [this] { finder->setEditor(currentEditor()); });
    connect(watcher, &QFileSystemWatcher::fileChanged, this, &ScriptEditorView::onFileChanged);
    addMenu();
    restoreSession();
}

void ScriptEditorView::addMenu()
{
    ScriptViewResources::installMenu(this, QStringLiteral("ScriptEditorView_menu.xml"));
    AC_Menu* viewMenu = menu(0);
    recentMenu = viewMenu ? viewMenu->addMenu(tr("Recent Files")) : new QMenu(tr("Recent Files"), this);
    recentMenu->setObjectName(QStringLiteral("recentFiles"));
}

LXLayoutView* ScriptEditorView::createView(QWidget* parent)
{
    return new ScriptEditorView(PLUG_Services::getActionManager(), parent, "Python Script Editor", {});
}

bool ScriptEditorView::wantsToolbar() const
{
    return true;
}

// Docks stacked in one column share its height by their hints: room for a page of code.
QSize ScriptEditorView::sizeHint() const
{
    return {480, 420};
}

QDomElement ScriptEditorView::toolbarDefinition() const
{
    return ScriptViewResources::toolbarElement(QStringLiteral("ScriptEditorView_toolbar.xml"));
}

// --- tabs -----------------------------------------------------------------------------------------

ScriptCodeEditor* ScriptEditorView::editorAt(int index) const
{
    return qobject_cast<ScriptCodeEditor*>(tabs->widget(index));
}

ScriptCodeEditor* ScriptEditorView::currentEditor() const
{
    return tabs ? editorAt(tabs->currentIndex()) : nullptr;
}

ScriptCodeEditor* ScriptEditorView::editorOf(const QString& filePath) const
{
    const QFileInfo wanted(filePath);
    for (int index = 0; index < tabs->count(); ++index) {
        ScriptCodeEditor* editor = editorAt(index);
        if (!editor->filePath.isEmpty() && QFileInfo(editor->filePath) == wanted)
            return editor;
    }
    return nullptr;
}

ScriptCodeEditor* ScriptEditorView::addEditor(const QString& filePath, const QByteArray& content)
{
    auto* editor = new ScriptCodeEditor(tabs);
    editor->filePath = filePath;
    showContent(editor, content);
    connect(editor->document(), &QTextDocument::modificationChanged, this, [this, editor] { updateTabTitle(editor); });
    connect(editor, &ScriptCodeEditor::runFileRequested, this, &ScriptEditorView::runFile);
    connect(editor, &ScriptCodeEditor::runCodeRequested, this, &ScriptEditorView::runCode);
    tabs->setCurrentIndex(tabs->addTab(editor, QString()));
    updateTabTitle(editor);
    if (!filePath.isEmpty())
        watcher->addPath(filePath);
    editor->setFocus(Qt::OtherFocusReason);
    return editor;
}

void ScriptEditorView::updateTabTitle(ScriptCodeEditor* editor)
{
    const int index = tabs->indexOf(editor);
    QString name = editor->filePath.isEmpty() ? tr("untitled") : QFileInfo(editor->filePath).fileName();
    if (editor->isReadOnly())
        name = tr("%1 (read-only)").arg(name);
    tabs->setTabText(index, editor->document()->isModified() ? name + QLatin1Char('*') : name);
    tabs->setTabToolTip(index, editor->filePath);
}

ScriptCodeEditor* ScriptEditorView::openFile(const QString& filePath, int line)
{
    if (!tabs)
        return nullptr;
    ScriptCodeEditor* editor = editorOf(filePath);
    if (!editor) {
        QByteArray content;
        if (!readFile(filePath, content)) {
            auto* box = new QMessageBox(QMessageBox::Warning, tr("Open Script"),
                                        tr("Cannot read %1.").arg(QDir::toNativeSeparators(filePath)), QMessageBox::Ok, this);
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->open();
            return nullptr;
        }
        editor = addEditor(QFileInfo(filePath).absoluteFilePath(), content);
        rememberRecent(editor->filePath);
    }
    tabs->setCurrentWidget(editor);
    if (line > 0)
        editor->goToLine(line);
    editor->setFocus(Qt::OtherFocusReason);
    return editor;
}

// --- slots ----------------------------------------------------------------------------------------

void ScriptEditorView::newFile()
{
    if (tabs)
        addEditor(QString(), QByteArray());
}

void ScriptEditorView::open()
{
    const QString filePath = QFileDialog::getOpenFileName(this, tr("Open Script"), scriptsFolder(),
                                                          tr("Python files (*.py);;All files (*)"));
    if (!filePath.isEmpty())
        openFile(filePath);
}

bool ScriptEditorView::save()
{
    ScriptCodeEditor* editor = currentEditor();
    if (!editor)
        return false;
    return editor->filePath.isEmpty() ? saveAs() : saveEditor(editor, editor->filePath);
}

bool ScriptEditorView::saveAs()
{
    ScriptCodeEditor* editor = currentEditor();
    if (!editor)
        return false;
    const QString start = editor->filePath.isEmpty() ? scriptsFolder() : editor->filePath;
    const QString filePath = QFileDialog::getSaveFileName(this, tr("Save Script As"), start, tr("Python files (*.py)"));
    return !filePath.isEmpty() && saveEditor(editor, filePath);
}

bool ScriptEditorView::saveEditor(ScriptCodeEditor* editor, const QString& filePath)
{
    if (editor->isReadOnly()) {
        QMessageBox::warning(this, tr("Save Script"),
                             tr("%1 is not UTF-8 text; it is shown read-only and not written back.")
                                 .arg(QDir::toNativeSeparators(editor->filePath)));
        return false;
    }
    const QByteArray content = editor->toPlainText().toUtf8();
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
        QMessageBox::warning(this, tr("Save Script"),
                             tr("Cannot write %1: %2").arg(QDir::toNativeSeparators(filePath), file.errorString()));
        return false;
    }
    if (!editor->filePath.isEmpty())
        watcher->removePath(editor->filePath);
    editor->filePath = QFileInfo(filePath).absoluteFilePath();
    editor->diskContent = content;
    // The saved file replaced the old one, which the watcher no longer follows.
    watcher->addPath(editor->filePath);
    editor->document()->setModified(false);
    updateTabTitle(editor);
    rememberRecent(editor->filePath);
    return true;
}

bool ScriptEditorView::closeTab()
{
    return tabs && tabs->count() > 0 && closeEditor(tabs->currentIndex());
}

bool ScriptEditorView::closeEditor(int index)
{
    ScriptCodeEditor* editor = editorAt(index);
    if (!editor || !settleUnsaved(editor))
        return false;
    if (!editor->filePath.isEmpty())
        watcher->removePath(editor->filePath);
    tabs->removeTab(index);
    editor->deleteLater();
    return true;
}

bool ScriptEditorView::settleUnsaved(ScriptCodeEditor* editor)
{
    if (!editor->document()->isModified())
        return true;
    tabs->setCurrentWidget(editor);
    const QString name = editor->filePath.isEmpty() ? tr("untitled") : QFileInfo(editor->filePath).fileName();
    QMessageBox box(QMessageBox::Question, tr("Unsaved Changes"), tr("Save the changes to %1?").arg(name),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return save();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

bool ScriptEditorView::confirmClose()
{
    if (!tabs)
        return true;
    for (int index = 0; index < tabs->count(); ++index) {
        if (!settleUnsaved(editorAt(index)))
            return false;
    }
    saveSession();
    return true;
}

void ScriptEditorView::runFile()
{
    ScriptCodeEditor* editor = currentEditor();
    if (!editor || ((editor->filePath.isEmpty() || editor->document()->isModified()) && !save()))
        return;
    ScriptRunCommand::installRunFile();
    runCode(ScriptRunCommand::forFile(editor->filePath));
}

void ScriptEditorView::runSelection()
{
    if (ScriptCodeEditor* editor = currentEditor())
        runCode(editor->codeToRun());
}

void ScriptEditorView::runCode(const QString& code)
{
    ScriptConsolePort* console = ScriptConsolePort::installed();
    if (code.trimmed().isEmpty() || !console)
        return;
    console->runCommand(code);
}

void ScriptEditorView::find()
{
    finder->setEditor(currentEditor());
    finder->start();
}

void ScriptEditorView::goToLine()
{
    ScriptCodeEditor* editor = currentEditor();
    if (!editor)
        return;
    bool accepted = false;
    const int line = QInputDialog::getInt(this, tr("Go to Line"), tr("Line:"), editor->currentLine(), 1,
                                          editor->blockCount(), 1, &accepted);
    if (accepted)
        editor->goToLine(line);
}

void ScriptEditorView::toggleComment()
{
    if (ScriptCodeEditor* editor = currentEditor())
        editor->toggleComment();
}

void ScriptEditorView::indent()
{
    if (ScriptCodeEditor* editor = currentEditor())
        editor->indentSelection();
}

void ScriptEditorView::dedent()
{
    if (ScriptCodeEditor* editor = currentEditor())
        editor->dedentSelection();
}

// --- changes on disk ------------------------------------------------------------------------------

void ScriptEditorView::onFileChanged(const QString& filePath)
{
    ScriptCodeEditor* editor = editorOf(filePath);
    QByteArray content;
    if (!editor || !readFile(filePath, content))
        return;
    // An editor that replaces the file makes the watcher drop it.
    watcher->addPath(filePath);
    if (content == editor->diskContent)
        return;
    editor->diskContent = content;
    if (editor->document()->isModified()) {
        tabs->setCurrentWidget(editor);
        const auto answer = QMessageBox::question(
            this, tr("File Changed on Disk"),
            tr("%1 changed on disk. Reload it and lose your unsaved edits?").arg(QFileInfo(filePath).fileName()),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return;
    }
    reload(editor, content);
}

void ScriptEditorView::reload(ScriptCodeEditor* editor, const QByteArray& content)
{
    const int position = editor->textCursor().position();
    const int scroll = editor->verticalScrollBar()->value();
    showContent(editor, content);
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(qMin(position, editor->document()->characterCount() - 1));
    editor->setTextCursor(cursor);
    editor->verticalScrollBar()->setValue(scroll);
    updateTabTitle(editor);
}

void ScriptEditorView::showContent(ScriptCodeEditor* editor, const QByteArray& content)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(content);
    editor->setPlainText(text);
    editor->setReadOnly(utf8.hasError());
    editor->diskContent = content;
}

// --- session --------------------------------------------------------------------------------------

void ScriptEditorView::rememberRecent(const QString& filePath)
{
    session.addRecent(filePath);
    fillRecentMenu();
}

void ScriptEditorView::fillRecentMenu()
{
    recentMenu->clear();
    for (const QString& filePath : std::as_const(session.recentFiles))
        connect(recentMenu->addAction(filePath), &QAction::triggered, this, [this, filePath] { openFile(filePath); });
    recentMenu->setEnabled(!session.recentFiles.isEmpty());
}

void ScriptEditorView::restoreSession()
{
    session = ScriptEditorSession::load();
    const QList<ScriptEditorSession::OpenFile> files = session.openFiles;
    for (const ScriptEditorSession::OpenFile& file : files) {
        QByteArray content;
        // Files gone since the last session are left out without a word.
        if (!readFile(file.filePath, content))
            continue;
        ScriptCodeEditor* editor = addEditor(file.filePath, content);
        QTextCursor cursor = editor->textCursor();
        cursor.setPosition(qBound(0, file.cursorPosition, editor->document()->characterCount() - 1));
        editor->setTextCursor(cursor);
        editor->centerCursor();
    }
    if (session.currentIndex >= 0 && session.currentIndex < tabs->count())
        tabs->setCurrentIndex(session.currentIndex);
    fillRecentMenu();
}

void ScriptEditorView::saveSession()
{
    session.openFiles.clear();
    session.currentIndex = 0;
    // Unsaved new tabs are not kept, so the current tab is counted among the files.
    for (int index = 0; index < tabs->count(); ++index) {
        const ScriptCodeEditor* editor = editorAt(index);
        if (editor->filePath.isEmpty())
            continue;
        if (index == tabs->currentIndex())
            session.currentIndex = int(session.openFiles.size());
        session.openFiles.append({editor->filePath, editor->textCursor().position()});
    }
    session.save();
}
