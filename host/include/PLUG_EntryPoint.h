#pragma once

#include <QtGlobal>

#include <exception>

// A plug-in's entry points (PLUG_Init, PLUG_Polish, PLUG_Unpolish): C names the host looks up,
// visible even when the plug-in hides its other symbols.
#define PLUG_EXPORT extern "C" __attribute__((visibility("default")))

// Runs one step of an entry point; nothing may leave an entry point as an exception, but a step
// that throws says so on the host's warning channel rather than vanishing.
template <typename Step>
void PLUG_guarded(Step step) noexcept
{
    try {
        step();
    } catch (const std::exception& error) {
        qWarning("A plug-in entry point step failed: %s", error.what());
    } catch (...) {
        qWarning("A plug-in entry point step failed with an unknown exception.");
    }
}
