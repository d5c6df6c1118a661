#include "PythonQtNumericLocale.h"

#include <clocale>

QByteArray PythonQtNumericLocale::s_host;

void PythonQtNumericLocale::useCForPython()
{
    if (!s_host.isEmpty())
        return;
    const char* current = std::setlocale(LC_NUMERIC, nullptr);
    s_host = current ? QByteArray(current) : QByteArray("C");
    std::setlocale(LC_NUMERIC, "C");
}

void PythonQtNumericLocale::restoreHost()
{
    if (s_host.isEmpty())
        return;
    std::setlocale(LC_NUMERIC, s_host.constData());
    s_host.clear();
}
