#pragma once

#include "MSG_Entry.h"

#include <QListWidget>

// Lists the host's messages and Python start-up lines, old and new.
class HostMessagesView : public QListWidget
{
    Q_OBJECT
public:
    explicit HostMessagesView(QWidget* parent = nullptr);

private slots:
    void addEntry(const MSG_Entry& entry);
};
