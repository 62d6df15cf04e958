#pragma once

#ifdef __linux__
#include <pthread.h>
#endif

// Names the calling thread (at most 15 characters), as tools such as top and perf show it.
inline void nameThisThread(const char* name) {
#ifdef __linux__
    pthread_setname_np(pthread_self(), name);
#else
    (void)name;
#endif
}
