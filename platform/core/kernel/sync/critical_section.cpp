// Critical sections: a recursive host mutex kept in the structure's opaque bytes.
#include <pthread.h>
#include <windows.h>

#include <new>

namespace {

static_assert(sizeof(pthread_mutex_t) <= sizeof(CRITICAL_SECTION::opaque));
static_assert(alignof(pthread_mutex_t) <= alignof(CRITICAL_SECTION));

pthread_mutex_t* mutexOf(LPCRITICAL_SECTION section) {
  return std::launder(reinterpret_cast<pthread_mutex_t*>(section->opaque));
}

}  // namespace

HANDHELD_API void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION section) {
  pthread_mutexattr_t attributes;
  pthread_mutexattr_init(&attributes);
  pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
  pthread_mutex_init(new (section->opaque) pthread_mutex_t, &attributes);
  pthread_mutexattr_destroy(&attributes);
}

HANDHELD_API void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION section) {
  pthread_mutex_destroy(mutexOf(section));
}

HANDHELD_API void WINAPI EnterCriticalSection(LPCRITICAL_SECTION section) {
  pthread_mutex_lock(mutexOf(section));
}

HANDHELD_API BOOL WINAPI TryEnterCriticalSection(LPCRITICAL_SECTION section) {
  return pthread_mutex_trylock(mutexOf(section)) == 0 ? TRUE : FALSE;
}

// A recursive host mutex refuses (EPERM) a leave by a thread that does not own it, so such a
// mistake cannot release another thread's lock.
HANDHELD_API void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION section) {
  pthread_mutex_unlock(mutexOf(section));
}
