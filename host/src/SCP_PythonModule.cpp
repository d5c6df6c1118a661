#include "SCP_PythonModule.h"

SCP_PythonModule::~SCP_PythonModule() = default;
