#pragma once

// A plug-in's entry points (PLUG_Init, PLUG_Polish, PLUG_Unpolish): C names the host looks up,
// visible even when the plug-in hides its other symbols.
#define PLUG_EXPORT extern "C" __attribute__((visibility("default")))

// Runs one step of an entry point; nothing may leave an entry point as an exception.
template <typename Step>
void PLUG_guarded(Step step) noexcept
{
    try {
        step();
    } catch (...) {
    }
}
