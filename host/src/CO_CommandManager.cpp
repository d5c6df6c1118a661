#include "CO_CommandManager.h"

#include <QUndoStack>

CO_CommandManager::CO_CommandManager(QUndoStack* stack)
    : m_stack(stack ? stack : new QUndoStack), m_ownsStack(!stack)
{
}

CO_CommandManager::~CO_CommandManager()
{
    if (m_ownsStack)
        delete m_stack;
}

void CO_CommandManager::execute(QUndoCommand* command)
{
    if (command)
        m_stack->push(command);
}

int CO_CommandManager::unexecute(int count)
{
    int done = 0;
    for (; done < count && m_stack->canUndo(); ++done)
        m_stack->undo();
    return done;
}

int CO_CommandManager::reexecute(int count)
{
    int done = 0;
    for (; done < count && m_stack->canRedo(); ++done)
        m_stack->redo();
    return done;
}
