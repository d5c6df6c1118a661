#include "SCP_PythonRedirect.h"

SCP_PythonRedirect::SCP_PythonRedirect(SCP_PythonEngine* engine)
    : m_engine(engine)
{
}

SCP_PythonRedirect::~SCP_PythonRedirect() = default;
