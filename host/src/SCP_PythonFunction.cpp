#include "SCP_PythonFunction.h"

SCP_PythonFunction::~SCP_PythonFunction() = default;
