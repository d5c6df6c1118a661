#pragma once

#if defined(BELLWICK_HOST_LIBRARY)
#define BELLWICK_HOST_EXPORT __attribute__((visibility("default")))
#else
#define BELLWICK_HOST_EXPORT
#endif
