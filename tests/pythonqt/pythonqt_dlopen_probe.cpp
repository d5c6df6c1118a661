// Knows nothing of Python: loads the probe library given as argv[1] with RTLD_LOCAL, the way a
// host loads a plug-in, and prints what the probe answers.
#include <dlfcn.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        std::printf("dlopen failed %s\n", dlerror());
        return 1;
    }
    using Probe = void (*)(char*, int);
    auto probe = reinterpret_cast<Probe>(dlsym(library, "pythonqtImportProbe"));
    if (!probe)
        return 1;
    char answer[512];
    probe(answer, sizeof answer);
    std::printf("%s\n", answer);
    return 0;
}
