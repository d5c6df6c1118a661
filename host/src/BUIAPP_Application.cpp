#include "BUIAPP_Application.h"

namespace {
BUIAPP_Application* application = nullptr;
}

BUIAPP_Application* BUIAPP_Application::instance()
{
    return application;
}

void BUIAPP_Application::setInstance(BUIAPP_Application* app)
{
    application = app;
}
