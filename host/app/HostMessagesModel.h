#pragma once

#include "MSG_Entry.h"

#include <QAbstractListModel>
#include <QStringList>

// The rows of the Messages dock: one row per message, except Python's standard output, which
// arrives a piece per write and is joined into one row per line. Keeps the latest maxRows rows.
class HostMessagesModel : public QAbstractListModel
{
    Q_OBJECT
public:
    static constexpr int maxRows = 10000;

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    void append(const QList<MSG_Entry>& entries);

private:
    // Adds the entry's new rows to `rows` (those after the existing ones), or its text to the
    // open output line.
    void split(const MSG_Entry& entry, QStringList& rows);
    void appendOutput(const QString& prefix, const QString& piece, QStringList& rows);
    // The row an open output line continues: the last new one, else the last existing one.
    QString* lastRow(QStringList& rows);

    QStringList m_rows;
    bool m_lineOpen = false;     // the last row is standard output still waiting for its line break
    bool m_lastRowGrew = false;  // an existing last row received text in the current append
};
