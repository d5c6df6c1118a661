#pragma once

class SCP_PythonFinder;

// Hands the finder's search path and home to the interpreter before it starts, sets
// "PYTHON_PATH" and logs what was found. Fills in the finder's home path when it is empty.
void setUpPythonEnvironment(SCP_PythonFinder* finder);
