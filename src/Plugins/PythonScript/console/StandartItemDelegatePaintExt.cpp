#include "console/StandartItemDelegatePaintExt.h"

#include <QPainter>
#include <QStandardItemModel>

namespace {

// The item of a standard model at the index, without making one where the cell has none (the
// model's itemFromIndex would).
const QStandardItem* itemAt(const QModelIndex& index)
{
    const auto* model = qobject_cast<const QStandardItemModel*>(index.model());
    if (!model)
        return nullptr;
    const QStandardItem* parent = index.parent().isValid() ? model->itemFromIndex(index.parent())
                                                           : model->invisibleRootItem();
    return parent ? parent->child(index.row(), index.column()) : nullptr;
}

} // namespace

StandartItemDelegatePaintExt::StandartItemDelegatePaintExt(QObject* parent)
    : QStyledItemDelegate(parent)
{
}

void StandartItemDelegatePaintExt::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const
{
    if (const QStandardItem* item = itemAt(index)) {
        // Only the colour counts: a red brush of any style, even none, gives a red cell.
        const QColor colour = item->background().color();
        if (colour != QColor(Qt::transparent))
            painter->fillRect(option.rect, colour);
    }
    QStyledItemDelegate::paint(painter, option, index);
}
