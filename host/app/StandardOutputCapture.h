#pragma once

#include <QString>

#include <cstdio>

// While it lives, what anything in the process writes to standard output goes to a temporary
// file instead; take() restores standard output and answers the text.
class StandardOutputCapture
{
public:
    StandardOutputCapture();
    ~StandardOutputCapture();

    QString take();

    StandardOutputCapture(const StandardOutputCapture&) = delete;
    StandardOutputCapture& operator=(const StandardOutputCapture&) = delete;

private:
    std::FILE* m_file;
    int m_savedOutput = -1;
};
