#include "HostMessagesModel.h"

namespace {
const QString outputPrefix = QStringLiteral("[PY STDOUT] : ");

QString rowPrefix(const MSG_Entry& entry)
{
    return entry.kind == MSG_Entry::PythonInit ? QStringLiteral("[start-up] ") : QStringLiteral("[%1] ").arg(entry.action);
}

bool isOutputPiece(const MSG_Entry& entry)
{
    return entry.kind == MSG_Entry::Message && entry.text.startsWith(outputPrefix);
}
}

int HostMessagesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant HostMessagesModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    return m_rows.at(index.row());
}

void HostMessagesModel::append(const QList<MSG_Entry>& entries)
{
    QStringList rows;
    m_lastRowGrew = false;
    for (const MSG_Entry& entry : entries)
        split(entry, rows);
    if (m_lastRowGrew) {
        const QModelIndex last = index(int(m_rows.size()) - 1);
        emit dataChanged(last, last, {Qt::DisplayRole});
    }
    if (rows.isEmpty())
        return;
    // Whole batches only: the view lays out once per append, not once per row.
    const qsizetype surplus = qMax<qsizetype>(0, m_rows.size() + rows.size() - maxRows);
    const qsizetype dropFromNew = qMax<qsizetype>(0, surplus - m_rows.size());
    const qsizetype dropOld = surplus - dropFromNew;
    if (dropOld > 0) {
        beginRemoveRows(QModelIndex(), 0, int(dropOld) - 1);
        m_rows.remove(0, dropOld);
        endRemoveRows();
    }
    rows.remove(0, dropFromNew);
    beginInsertRows(QModelIndex(), int(m_rows.size()), int(m_rows.size() + rows.size()) - 1);
    m_rows.append(rows);
    endInsertRows();
}

void HostMessagesModel::split(const MSG_Entry& entry, QStringList& rows)
{
    if (isOutputPiece(entry)) {
        appendOutput(rowPrefix(entry) + outputPrefix, entry.text.mid(outputPrefix.size()), rows);
        return;
    }
    m_lineOpen = false;
    // One row per line here too: the rows are all one line high.
    const QStringList lines = entry.text.split(QLatin1Char('\n'));
    rows.append(rowPrefix(entry) + lines.constFirst());
    for (qsizetype i = 1; i < lines.size(); ++i)
        rows.append(lines.at(i));
}

QString* HostMessagesModel::lastRow(QStringList& rows)
{
    if (!rows.isEmpty())
        return &rows.last();
    m_lastRowGrew = true;
    return &m_rows.last();
}

void HostMessagesModel::appendOutput(const QString& prefix, const QString& piece, QStringList& rows)
{
    const QStringList lines = piece.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const bool lineBreak = i + 1 < lines.size();
        const QString& text = lines.at(i);
        if (text.isEmpty() && !lineBreak)
            break;
        if (m_lineOpen)
            lastRow(rows)->append(text);
        else
            rows.append(prefix + text);
        m_lineOpen = !lineBreak;
    }
}
