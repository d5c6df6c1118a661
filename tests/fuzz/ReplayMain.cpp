// Runs a fuzz target's entry point once on every file of its corpus: the corpus becomes a
// regression test without libFuzzer.
#include <QDirIterator>
#include <QFile>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main()
{
    int inputs = 0;
    for (QDirIterator files(FUZZ_CORPUS, QDir::Files); files.hasNext(); ++inputs) {
        QFile file(files.next());
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        const QByteArray input = file.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.constData()), size_t(input.size()));
    }
    std::printf("replayed %d inputs\n", inputs);
    return inputs == 0 ? 1 : 0;
}
