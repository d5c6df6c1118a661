// Runs a fuzz target's entry point once on every file of its corpus (or of the folders and
// files named on the command line): the corpus becomes a regression test without libFuzzer.
#include <QDirIterator>
#include <QFile>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    QStringList roots;
    for (int i = 1; i < argc; ++i)
        roots << QString::fromLocal8Bit(argv[i]);
    if (roots.isEmpty())
        roots << FUZZ_CORPUS;
    QStringList inputs;
    for (const QString& root : roots) {
        QDirIterator files(root, QDir::Files, QDirIterator::Subdirectories);
        if (QFileInfo(root).isFile())
            inputs << root;
        while (files.hasNext())
            inputs << files.next();
    }
    for (const QString& path : inputs) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            return 1;
        }
        const QByteArray input = file.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.constData()), size_t(input.size()));
    }
    std::printf("replayed %d inputs\n", int(inputs.size()));
    return inputs.isEmpty() ? 1 : 0;
}
