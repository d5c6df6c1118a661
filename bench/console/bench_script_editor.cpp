// The script editor on a 20,000-line file against a plain QPlainTextEdit, measured in the same
// run: opening it (text set, highlighted and painted), one keystroke in its middle, and one page
// of scrolling, each painted before the clock stops.
#include "editor/ScriptCodeEditor.h"
#include "support/BatchTiming.h"
#include "support/BenchRun.h"
#include "support/RatioBoard.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include <chrono>
#include <functional>
#include <memory>

namespace {

constexpr int fileLines = 20000;

// Python of the usual mix: definitions, strings, comments, numbers, a docstring now and then.
QString makeFile()
{
    QStringList lines;
    for (int i = 0; lines.size() < fileLines; ++i) {
        lines << QStringLiteral("@decorator_%1").arg(i % 5)
              << QStringLiteral("def function_%1(value, scale=%2.5):").arg(i).arg(i % 9)
              << QStringLiteral("    \"\"\"Scales value (docstring %1).\"\"\"").arg(i)
              << QStringLiteral("    result = [value * scale for _ in range(%1)]  # a comment").arg(i % 17)
              << QStringLiteral("    if result and isinstance(value, (int, float)):")
              << QStringLiteral("        print('function_%1', {'key': result[0]}, len(result))").arg(i)
              << QStringLiteral("    return sum(result) / max(1, len(result))")
              << QString();
    }
    return lines.mid(0, fileLines).join(QLatin1Char('\n'));
}

double secondsOf(const std::function<void()>& body)
{
    const auto start = std::chrono::steady_clock::now();
    body();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

template <typename Editor>
std::unique_ptr<QPlainTextEdit> shownEditor()
{
    auto editor = std::make_unique<Editor>();
    editor->resize(900, 700);
    editor->show();
    return editor;
}

void paint(QPlainTextEdit* editor)
{
    editor->viewport()->repaint();
    QCoreApplication::processEvents();
}

template <typename Editor>
std::function<double()> opening(const QString& text)
{
    return [text] {
        return secondsOf([&text] {
            std::unique_ptr<QPlainTextEdit> editor = shownEditor<Editor>();
            editor->setPlainText(text);
            paint(editor.get());
        });
    };
}

// Half the keys type a letter, half take it back, in the middle of the file.
std::function<double()> typing(QPlainTextEdit* editor, int keys)
{
    return [editor, keys] {
        return secondsOf([editor, keys] {
            for (int i = 0; i < keys / 2; ++i) {
                QTest::keyClick(editor, Qt::Key_N);
                paint(editor);
                QTest::keyClick(editor, Qt::Key_Backspace);
                paint(editor);
            }
        });
    };
}

std::function<double()> scrolling(QPlainTextEdit* editor, int pages)
{
    return [editor, pages] {
        return secondsOf([editor, pages] {
            QScrollBar* bar = editor->verticalScrollBar();
            for (int i = 0; i < pages; ++i) {
                bar->setValue(bar->value() + bar->pageStep() > bar->maximum() ? 0 : bar->value() + bar->pageStep());
                paint(editor);
            }
        });
    };
}

void loadAndPlaceCursor(QPlainTextEdit* editor, const QString& text)
{
    editor->setPlainText(text);
    QTextCursor middle(editor->document()->findBlockByNumber(fileLines / 2 + 5));
    middle.movePosition(QTextCursor::EndOfBlock);
    editor->setTextCursor(middle);
    editor->setFocus();
    paint(editor);
}

// A case on the loaded file, against the same work in a plain text edit; operations is the
// number of keys or pages one measurement takes.
void registerEditing(const QString& text, const std::string& name, const std::string& baseline,
                     std::function<double()> (*work)(QPlainTextEdit*, int), int operations)
{
    benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State& state) {
        std::unique_ptr<QPlainTextEdit> editor = shownEditor<ScriptCodeEditor>();
        std::unique_ptr<QPlainTextEdit> plain = shownEditor<QPlainTextEdit>();
        loadAndPlaceCursor(editor.get(), text);
        loadAndPlaceCursor(plain.get(), text);
        const PairedFigures figures = timePaired(state, work(editor.get(), operations), work(plain.get(), operations), operations);
        RatioBoard::instance().compare(state, name, figures.best, baseline, figures.baselineBest);
    })->UseManualTime()->Iterations(30);
}

void registerCases(const QString& text)
{
    benchmark::RegisterBenchmark("open/20000_lines", [text](benchmark::State& state) {
        const PairedFigures figures = timePaired(state, opening<ScriptCodeEditor>(text), opening<QPlainTextEdit>(text), 1);
        RatioBoard::instance().compare(state, "open/20000_lines", figures.best, "open/plain QPlainTextEdit",
                                       figures.baselineBest);
    })->UseManualTime()->Iterations(6);

    registerEditing(text, "keystroke/20000_lines", "keystroke/plain QPlainTextEdit", typing, 20);
    registerEditing(text, "scroll_page/20000_lines", "scroll_page/plain QPlainTextEdit", scrolling, 20);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    registerCases(makeFile());
    return runBenchmarksWithSummary(argc, argv);
}
