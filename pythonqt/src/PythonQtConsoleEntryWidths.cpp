#include "PythonQtConsoleEntryWidths.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QFontMetrics>

#include <algorithm>

int PythonQtConsoleEntryWidths::widest(const QAbstractItemView* popup)
{
    const QAbstractItemModel* model = popup->model();
    const int rows = model ? model->rowCount() : 0;
    if (rows == 0)
        return 0;
    if (popup->font() != measuredFont || widths.size() > remembered) {
        widths.clear();
        measuredFont = popup->font();
        // The delegate lays each entry out with the same margins around its text: measured on
        // one entry, the rest is the text's advance.
        const QModelIndex first = model->index(0, 0);
        margins = popup->sizeHintForIndex(first).width() - popup->fontMetrics().horizontalAdvance(first.data().toString());
    }
    const QFontMetrics metrics = popup->fontMetrics();
    int widest = 0;
    for (int row = 0; row < rows; ++row) {
        const QString name = model->index(row, 0).data().toString();
        auto found = widths.constFind(name);
        if (found == widths.cend())
            found = widths.insert(name, metrics.horizontalAdvance(name) + margins);
        widest = std::max(widest, *found);
    }
    return widest;
}
