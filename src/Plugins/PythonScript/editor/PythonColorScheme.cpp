#include "editor/PythonColorScheme.h"

#include <BUIAPP_Application.h>

namespace {

QTextCharFormat format(const QColor& colour, bool bold = false, bool italic = false)
{
    QTextCharFormat result;
    result.setForeground(colour);
    if (bold)
        result.setFontWeight(QFont::Bold);
    result.setFontItalic(italic);
    return result;
}

} // namespace

PythonColorScheme PythonColorScheme::current()
{
    const BUIAPP_Application* application = BUIAPP_Application::instance();
    return PythonColorScheme(!application || application->isDarkStyle());
}

PythonColorScheme::PythonColorScheme(bool dark)
    : dark(dark)
{
    // The text and background pair with the console's command colour of each style.
    keyword = format(dark ? QColor(QRgb(0xCC7832)) : QColor(QRgb(0x0000A0)), true);
    builtin = format(dark ? QColor(QRgb(0x8888C6)) : QColor(QRgb(0x7A1FA2)));
    definition = format(dark ? QColor(QRgb(0xFFC66D)) : QColor(QRgb(0x00627A)), true);
    string = format(dark ? QColor(QRgb(0x6A8759)) : QColor(QRgb(0x067D17)));
    number = format(dark ? QColor(QRgb(0x6897BB)) : QColor(QRgb(0x1750EB)));
    comment = format(dark ? QColor(QRgb(0x808080)) : QColor(QRgb(0x8C8C8C)), false, true);
    decorator = format(dark ? QColor(QRgb(0xBBB529)) : QColor(QRgb(0x9E880D)));
    link.setFontUnderline(true);
    background = dark ? QColor(QRgb(0x2B2B2B)) : QColor(QRgb(0xFFFFFF));
    text = dark ? QColor(QRgb(0xBCC8C1)) : QColor(QRgb(0x000000));
    currentLine = dark ? QColor(QRgb(0x323232)) : QColor(QRgb(0xF5F5E0));
    matchingBracket = dark ? QColor(QRgb(0x3B514D)) : QColor(QRgb(0x99CCFF));
    lineNumbers = dark ? QColor(QRgb(0x606366)) : QColor(QRgb(0x999999));
}
