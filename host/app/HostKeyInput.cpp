#include "HostKeyInput.h"

#include "HostNativeFunctions.h"
#include "HostScriptCall.h"
#include "HostSpontaneousEvent.h"

#include <QMetaEnum>
#include <QPointer>
#include <QScriptEngine>
#include <QKeyEvent>
#include <QWidget>

// Qt's key delivery offers a key press to the shortcut map first through this QtGui function,
// which has no public header (Qt's test library declares it the same way).
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* receiver, ulong timestamp, int key, Qt::KeyboardModifiers modifiers,
                                               const QString& text, bool autoRepeat, ushort count);

namespace {

void sendKey(QWidget* widget, int key, const QString& text, Qt::KeyboardModifiers modifiers)
{
    if (qt_sendShortcutOverrideEvent(widget, 0, key, modifiers, text, false, 1))
        return;
    // A shortcut or the press itself may delete the widget.
    const QPointer<QWidget> target(widget);
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QSpontaneKeyEvent::deliver(widget, &press);
    if (!target)
        return;
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QSpontaneKeyEvent::deliver(target, &release);
}

} // namespace

bool HostKeyInput::parseKey(const QString& name, Qt::Key* key)
{
    const QString keyName = name.size() == 1 && name.at(0).isLetter() ? name.toUpper() : name;
    bool known = false;
    const int value = QMetaEnum::fromType<Qt::Key>().keyToValue(("Key_" + keyName).toLatin1().constData(), &known);
    if (known)
        *key = Qt::Key(value);
    return known && !name.isEmpty();
}

bool HostKeyInput::parseModifiers(const QString& text, Qt::KeyboardModifiers* modifiers, QString* unknown)
{
    static const QList<QPair<QString, Qt::KeyboardModifier>> names{
        {QStringLiteral("Shift"), Qt::ShiftModifier},
        {QStringLiteral("Control"), Qt::ControlModifier},
        {QStringLiteral("Alt"), Qt::AltModifier},
        {QStringLiteral("Meta"), Qt::MetaModifier}};
    Qt::KeyboardModifiers result;
    for (const QString& part : text.split(QLatin1Char('+'), Qt::SkipEmptyParts)) {
        const QString name = part.trimmed();
        auto found = std::find_if(names.cbegin(), names.cend(), [&name](const auto& entry) { return entry.first == name; });
        if (found == names.cend()) {
            *unknown = name;
            return false;
        }
        result |= found->second;
    }
    *modifiers = result;
    return true;
}

QString HostKeyInput::keyText(Qt::Key key)
{
    switch (key) {
    case Qt::Key_Backspace:
        return QStringLiteral("\b");
    case Qt::Key_Tab:
        return QStringLiteral("\t");
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QStringLiteral("\r");
    case Qt::Key_Escape:
        return QStringLiteral("\x1b");
    case Qt::Key_Delete:
        return QStringLiteral("\x7f");
    default:
        break;
    }
    const bool printable = (key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde) || (key >= Qt::Key_nobreakspace && key <= Qt::Key_ydiaeresis);
    return printable ? QString(QChar(char16_t(key))).toLower() : QString();
}

void HostKeyInput::click(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    sendKey(widget, key, keyText(key), modifiers);
}

void HostKeyInput::typeText(QWidget* widget, const QString& text)
{
    // A key may close or delete the widget (Return in a dialog).
    const QPointer<QWidget> target(widget);
    for (const char32_t codePoint : text.toUcs4()) {
        if (!target)
            return;
        if (codePoint == U'\n')
            click(target, Qt::Key_Return, Qt::NoModifier);
        else
            sendKey(target, QChar::toUpper(codePoint), QString::fromUcs4(&codePoint, 1), Qt::NoModifier);
    }
}

void HostKeyInput::install(HostNativeFunctions& functions, QScriptValue& host)
{
    functions.add(host, QStringLiteral("keyClick"), [](HostScriptCall& call) {
        QWidget* widget = call.widget(0);
        const QString name = call.string(1);
        Qt::Key key = Qt::Key_unknown;
        Qt::KeyboardModifiers modifiers;
        QString unknown;
        if (!call.failed() && !parseKey(name, &key))
            call.fail(QStringLiteral("unknown key name '%1' (Qt's name without Key_, e.g. Return, A, Left)").arg(name));
        if (!call.failed() && !parseModifiers(call.string(2), &modifiers, &unknown))
            call.fail(QStringLiteral("unknown modifier '%1' (Shift, Control, Alt or Meta, joined with +)").arg(unknown));
        if (!call.failed())
            click(widget, key, modifiers);
        return QScriptValue();
    });
    functions.add(host, QStringLiteral("keyClicks"), [](HostScriptCall& call) {
        QWidget* widget = call.widget(0);
        if (!call.failed())
            typeText(widget, call.string(1));
        return QScriptValue();
    });
}
