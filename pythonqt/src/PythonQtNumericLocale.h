#pragma once

#include <QByteArray>

// Python expects the C runtime's LC_NUMERIC to be "C" (plain Python never changes it): "%f"
// formatting, '{:n}', locale.atof and C libraries parsing numbers with strtod all read it. A Qt
// host sets every category from the user's environment; this sets LC_NUMERIC back to "C" while
// the interpreter lives. Qt's own formatting (QLocale) does not read it and still follows the
// user's locale. The host's setting returns when the interpreter is finalised.
class PythonQtNumericLocale
{
public:
    static void useCForPython();
    static void restoreHost();

private:
    static QByteArray s_host;
};
