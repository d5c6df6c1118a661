#pragma once

class SC_SessionContext;
class SCP_PythonEngine;

// The engine-creation callback handed to the session's Python manager. Every context shares the
// one engine of the process; null while Python is not running or for a first, null, context.
SCP_PythonEngine* createPythonEngine(SC_SessionContext* context);
