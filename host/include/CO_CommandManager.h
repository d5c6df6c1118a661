#pragma once

#include "BellwickHostExport.h"

class QUndoCommand;
class QUndoStack;

// The session's command history over an undo stack.
class BELLWICK_HOST_EXPORT CO_CommandManager
{
public:
    // Without a stack the manager makes and owns one.
    explicit CO_CommandManager(QUndoStack* stack = nullptr);
    ~CO_CommandManager();

    QUndoStack* undoStack() const { return m_stack; }

    // Runs command (its redo()) and records it; the stack owns it.
    void execute(QUndoCommand* command);
    // Undo or redo up to count commands; the result is how many were undone or redone.
    int unexecute(int count);
    int reexecute(int count);

    CO_CommandManager(const CO_CommandManager&) = delete;
    CO_CommandManager& operator=(const CO_CommandManager&) = delete;

private:
    QUndoStack* m_stack;
    bool m_ownsStack;
};
