#pragma once

// The plug-in's exported entry points, called by the host's plug-in manager.
extern "C" {
void PLUG_Init();
void PLUG_Polish();
void PLUG_Unpolish();
}
