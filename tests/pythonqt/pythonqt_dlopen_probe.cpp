// Knows nothing of Python: loads the probe library argv[1] with RTLD_LOCAL, the way a host loads
// a plug-in, and prints what the probe answers for the mode argv[2].
#include <dlfcn.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        std::printf("dlopen failed %s\n", dlerror());
        return 1;
    }
    using Probe = void (*)(const char*, char*, int);
    auto probe = reinterpret_cast<Probe>(dlsym(library, "pythonqtStartupProbe"));
    if (!probe)
        return 1;
    static char answer[8192];
    probe(argv[2], answer, sizeof answer);
    std::printf("%s\n", answer);
    return 0;
}
