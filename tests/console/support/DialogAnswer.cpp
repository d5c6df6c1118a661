#include "support/DialogAnswer.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

QString answeredText;

void answerWhenShown(QMessageBox::StandardButton button, int attemptsLeft)
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
        if (attemptsLeft > 0)
            QTimer::singleShot(20, [button, attemptsLeft] { answerWhenShown(button, attemptsLeft - 1); });
        return;
    }
    answeredText = box->text();
    QTest::mouseClick(box->button(button), Qt::LeftButton);
}

} // namespace

void DialogAnswer::next(QMessageBox::StandardButton button)
{
    answeredText.clear();
    QTimer::singleShot(0, [button] { answerWhenShown(button, 250); });
}

QString DialogAnswer::lastText()
{
    return answeredText;
}
