#include "AC_Responder.h"

AC_Responder::~AC_Responder() = default;
