#include "console/PythonScriptsListTypes.h"

#include "console/PythonScriptsController.h"
#include "console/StandartItemDelegatePaintExt.h"

void registerScriptsListTypes()
{
    qRegisterMetaType<PythonScriptsController>();
    qRegisterMetaType<StandartItemDelegatePaintExt>();
}
