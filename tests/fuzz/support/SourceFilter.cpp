#include "support/SourceFilter.h"

namespace {
constexpr int maxSourceSize = 4096;

const char* const forbidden[] = {
    "while", "for", "try", "import", "open", "exec", "eval", "compile", "__",
    "getattr", "setattr", "delattr", "globals", "vars", "locals", "input",
    "breakpoint", "help", "exit", "quit",
};
}

bool isRunnableSource(const QByteArray& source)
{
    if (source.size() > maxSourceSize)
        return false;
    for (const char* word : forbidden) {
        if (source.contains(word))
            return false;
    }
    return true;
}
