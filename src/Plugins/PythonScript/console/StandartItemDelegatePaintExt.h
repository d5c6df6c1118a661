#pragma once

#include <QMetaType>
#include <QStyledItemDelegate>

// Paints a standard item's own background colour under the normal item painting, whatever the
// brush's style.
class StandartItemDelegatePaintExt : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit StandartItemDelegatePaintExt(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

Q_DECLARE_METATYPE(StandartItemDelegatePaintExt)
