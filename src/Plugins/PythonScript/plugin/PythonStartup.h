#pragma once

// The interpreter's start-up, in the two steps between which the script bridge registers its
// conversions and publishes its objects.
namespace PythonStartup {

// Starts the interpreter through PythonQt with its output redirected and without the site
// module. False, with the failure written to the start-up log, when it did not start.
bool start();

// Gives the interpreter lock up, so that any thread may take it, and logs the success.
void finish();

}
