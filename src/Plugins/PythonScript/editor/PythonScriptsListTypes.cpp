#include "editor/PythonScriptsListTypes.h"

#include "editor/PythonScriptsController.h"
#include "editor/StandartItemDelegatePaintExt.h"

void registerScriptsListTypes()
{
    qRegisterMetaType<PythonScriptsController>();
    qRegisterMetaType<StandartItemDelegatePaintExt>();
}
