#include "fault_guard.h"

#include <link.h>
#include <setjmp.h>
#include <signal.h>
#include <ucontext.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>

namespace handheld::shell {
namespace {

struct GuardFrame {
  sigjmp_buf buffer;
  GuardFrame* previous = nullptr;
};

thread_local GuardFrame* t_current = nullptr;

constexpr std::array<int, 4> kFaultSignals = {SIGSEGV, SIGBUS, SIGILL, SIGFPE};
struct sigaction g_previous[NSIG];

// Where libhandheld's code lies: a fault there is never caught (see the header).
struct CodeRange {
  uintptr_t begin = 0, end = 0;
};
constexpr size_t kMaxRanges = 8;
std::array<CodeRange, kMaxRanges> g_platformCode;
size_t g_platformRanges = 0;

int recordPlatformCode(dl_phdr_info* info, size_t, void*) {
  if (!info->dlpi_name || !std::strstr(info->dlpi_name, "libhandheld.so")) return 0;
  for (int i = 0; i < info->dlpi_phnum && g_platformRanges < kMaxRanges; ++i) {
    const ElfW(Phdr)& segment = info->dlpi_phdr[i];
    if (segment.p_type != PT_LOAD || !(segment.p_flags & PF_X)) continue;
    const uintptr_t begin = info->dlpi_addr + segment.p_vaddr;
    g_platformCode[g_platformRanges++] = {begin, begin + segment.p_memsz};
  }
  return 0;
}

uintptr_t faultAddress(void* context) {
  const auto* uc = static_cast<const ucontext_t*>(context);
#if defined(__x86_64__)
  return static_cast<uintptr_t>(uc->uc_mcontext.gregs[REG_RIP]);
#elif defined(__aarch64__)
  return static_cast<uintptr_t>(uc->uc_mcontext.pc);
#else
  (void)uc;
  return 0;
#endif
}

bool inPlatformCode(uintptr_t address) {
  for (size_t i = 0; i < g_platformRanges; ++i)
    if (address >= g_platformCode[i].begin && address < g_platformCode[i].end) return true;
  return false;
}

void onFault(int signal, siginfo_t* info, void* context) {
  GuardFrame* frame = t_current;
  const bool raised = info->si_code <= 0;  // kill() or raise(), not a faulting instruction
  if (frame && !raised && !inPlatformCode(faultAddress(context))) siglongjmp(frame->buffer, signal);
  // Not ours: the previous disposition takes it when the instruction faults again.
  sigaction(signal, &g_previous[signal], nullptr);
  if (raised) raise(signal);
}

void installHandlers() {
  dl_iterate_phdr(recordPlatformCode, nullptr);
  struct sigaction action {};
  action.sa_sigaction = onFault;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
  sigemptyset(&action.sa_mask);
  for (int signal : kFaultSignals) sigaction(signal, &action, &g_previous[signal]);
}

// A stack for the handler, so that a library that overflowed its stack is caught too.
struct AlternateStack {
  static constexpr size_t kSize = 128 * 1024;
  std::unique_ptr<char[]> memory;

  AlternateStack() {
    stack_t current{};
    if (sigaltstack(nullptr, &current) == 0 && !(current.ss_flags & SS_DISABLE)) return;
    memory = std::make_unique<char[]>(kSize);
    stack_t mine{};
    mine.ss_sp = memory.get();
    mine.ss_size = kSize;
    if (sigaltstack(&mine, nullptr) != 0) memory.reset();
  }
  ~AlternateStack() {
    if (!memory) return;
    stack_t off{};
    off.ss_flags = SS_DISABLE;
    sigaltstack(&off, nullptr);
  }
  AlternateStack(const AlternateStack&) = delete;
  AlternateStack& operator=(const AlternateStack&) = delete;
};

}  // namespace

bool guardedCall(void (*call)(void* context), void* context, int* signal) {
  static std::once_flag installed;
  std::call_once(installed, installHandlers);
  thread_local AlternateStack alternateStack;

  GuardFrame frame;
  frame.previous = t_current;
  // The handler runs with SA_NODEFER, so the signal mask needs no restoring on the way back.
  const int caught = sigsetjmp(frame.buffer, 0);
  if (caught == 0) {
    t_current = &frame;
    try {
      call(context);
    } catch (...) {
      // An exception that left the library is its fault as much as a signal is.
      t_current = frame.previous;
      if (signal) *signal = 0;
      return false;
    }
    t_current = frame.previous;
    return true;
  }
  t_current = frame.previous;
  if (signal) *signal = caught;
  return false;
}

}  // namespace handheld::shell
