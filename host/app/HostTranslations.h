#pragma once

#include <QString>

// The translations of the host's texts, of the plug-in's and of Qt's own, for one language.
class HostTranslations
{
public:
    // language: a locale name ("fr", "fr_CA"); empty: the user's locale. Installs on the running
    // application every catalog found for it; a language without one leaves the texts as written.
    static void install(const QString& language);
};
