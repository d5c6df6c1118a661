#pragma once

#include "BellwickHostExport.h"

#include <QString>

// The host's shared special folder (its add-on and scripts area).
BELLWICK_HOST_EXPORT QString BAPP_SharedSpecialFolders();
BELLWICK_HOST_EXPORT void BAPP_SetSharedSpecialFolders(const QString& folder);
