// Soak: eight clients send mixed requests to one headless device (posts, sends, registry sets
// and gets, windows made, destroyed and listed, screenshots, reconnections) while the server's
// resident memory and open descriptors are sampled every 10 s. Neither may grow.
//   soak_device [SECONDS]     (or HANDHELD_SOAK_SECONDS; 300 when neither is given)
#include <sys/types.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "automation_client.h"
#include "bench_device.h"

namespace {

using handheld::automation::AutomationClient;
namespace ipc = handheld::ipc;
using Clock = std::chrono::steady_clock;

constexpr int kClients = 8;
constexpr auto kSampleEvery = std::chrono::seconds(10);
constexpr int kDefaultSeconds = 300;
// A client's rounds are paced so that the soak measures the server over time rather than
// saturating a shared machine, and capped so that a loop ends even if the clock misbehaves.
constexpr auto kRoundPause = std::chrono::milliseconds(5);
constexpr long kMaxRoundsPerSecond = 1000 / 5;
constexpr int kRoundsPerConnection = 250;  // then the client reconnects
constexpr int kRoundsPerScreenshot = 10;
constexpr int kValuesPerClient = 32;
constexpr UINT kEcho = WM_USER + 1;
constexpr UINT kCount = WM_USER + 2;
constexpr uint32_t kCurrentUser = 0x80000001u;

int soakSeconds(int argc, char** argv) {
  const char* text = argc > 1 ? argv[1] : std::getenv("HANDHELD_SOAK_SECONDS");
  if (!text) return kDefaultSeconds;
  const int seconds = std::atoi(text);
  if (seconds <= 0) {
    std::fprintf(stderr, "usage: soak_device [SECONDS]   (a whole number above 0)\n");
    std::exit(2);
  }
  return seconds;
}

struct Totals {
  std::atomic<long> requests{0};
  std::atomic<long> errors{0};       // answered with an error code
  std::atomic<long> unanswered{0};   // refused as malformed, or the connection went away
  std::atomic<long> posted{0};       // posts that reached the target window
};

Totals totals;

LRESULT CALLBACK targetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kEcho) return static_cast<LRESULT>(wParam) + lParam;
  if (message == kCount) {
    totals.posted.fetch_add(1);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK plainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

void registerClass(LPCWSTR name, WNDPROC proc) {
  WNDCLASSW c{};
  c.lpfnWndProc = proc;
  c.lpszClassName = name;
  RegisterClassW(&c);
}

// The window every client posts and sends to, on a thread of its own with a message loop.
class TargetWindow {
 public:
  TargetWindow() {
    thread_ = std::thread([this] {
      HWND window = CreateWindowExW(0, u"SoakTarget", u"Soak target", WS_POPUP, 0, 0, 20, 20, nullptr,
                                    nullptr, nullptr, nullptr);
      threadId_ = GetCurrentThreadId();
      handle_.store(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window)));
      handle_.notify_all();
      MSG m;
      while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
      DestroyWindow(window);
    });
    handle_.wait(0);
  }
  ~TargetWindow() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
  }
  uint32_t handle() const { return handle_.load(); }

 private:
  std::thread thread_;
  std::atomic<uint32_t> handle_{0};
  DWORD threadId_ = 0;
};

template <class M>
std::optional<typename M::Reply> request(AutomationClient& client, const typename M::Request& r) {
  totals.requests.fetch_add(1);
  auto reply = client.call<M>(r);
  if (!reply) totals.unanswered.fetch_add(1);
  return reply;
}

void countError(uint32_t error) {
  if (error != 0) totals.errors.fetch_add(1);
}

// One round of every kind of request, through the automation connection and this thread's
// own windows.
void mixedRound(AutomationClient& client, int clientIndex, long number, uint32_t target) {
  ipc::MessagePost::Request post;
  post.handle = target;
  post.message = kCount;
  if (auto reply = request<ipc::MessagePost>(client, post)) countError(reply->error);

  ipc::AutomationSend::Request send;
  send.handle = target;
  send.message = kEcho;
  send.wParam = static_cast<uint64_t>(number);
  send.lParam = clientIndex;
  if (auto reply = request<ipc::AutomationSend>(client, send)) {
    countError(reply->error);
    if (reply->error == 0 && reply->result != number + clientIndex) totals.errors.fetch_add(1);
  }

  const std::u16string key = u"Software\\Soak\\Client" + std::u16string(1, static_cast<char16_t>(u'0' + clientIndex));
  const std::u16string name = u"Value" + std::u16string(1, static_cast<char16_t>(u'A' + number % kValuesPerClient));
  ipc::RegistryCreateKey::Request create;
  create.root = kCurrentUser;
  create.path = key;
  create.create = true;
  request<ipc::RegistryCreateKey>(client, create);
  ipc::RegistrySet::Request set;
  set.root = kCurrentUser;
  set.path = key;
  set.name = name;
  set.type = REG_BINARY;
  set.data.assign(static_cast<size_t>(1 + number % 64), static_cast<uint8_t>(number));
  if (auto reply = request<ipc::RegistrySet>(client, set)) countError(reply->error);
  ipc::RegistryQuery::Request query;
  query.root = kCurrentUser;
  query.path = key;
  query.name = name;
  if (auto reply = request<ipc::RegistryQuery>(client, query)) {
    countError(reply->error);
    if (reply->error == 0 && reply->data != set.data) totals.errors.fetch_add(1);
  }

  HWND window = CreateWindowExW(0, u"SoakPlain", u"Soak window", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
  if (!window) totals.errors.fetch_add(1);
  request<ipc::WindowList>(client, {});
  if (window) DestroyWindow(window);
  MSG leftover;
  while (PeekMessageW(&leftover, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&leftover);

  if (number % kRoundsPerScreenshot == 0) {
    ipc::ScreenCapture::Request capture;
    if (auto reply = request<ipc::ScreenCapture>(client, capture)) countError(reply->error);
  }
}

void runClient(const std::filesystem::path& root, int index, uint32_t target, Clock::time_point end,
               long maxRounds) {
  std::optional<AutomationClient> client;
  for (long number = 0; number < maxRounds && Clock::now() < end; ++number) {
    if (!client || number % kRoundsPerConnection == 0) {
      std::string error;
      client.reset();  // the old connection closes before the next one opens
      client = AutomationClient::connect(root, error);
      if (!client) {
        std::fprintf(stderr, "client %d cannot connect: %s\n", index, error.c_str());
        totals.unanswered.fetch_add(1);
        std::this_thread::sleep_for(std::chrono::seconds(1));
        continue;
      }
    }
    mixedRound(*client, index, number, target);
    std::this_thread::sleep_for(kRoundPause);
  }
}

struct Sample {
  long seconds;
  long rssKb;
  long descriptors;
};

long residentKb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return -1;
}

long openDescriptors(pid_t pid) {
  std::error_code ec;
  long count = 0;
  for (std::filesystem::directory_iterator it("/proc/" + std::to_string(pid) + "/fd", ec), end; !ec && it != end;
       it.increment(ec)) {
    ++count;
  }
  return ec ? -1 : count;
}

Sample takeSample(pid_t server, Clock::time_point start) {
  const long seconds = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - start).count();
  const Sample s{seconds, residentKb(server), openDescriptors(server)};
  std::printf("%8ld %10ld %6ld %10ld %7ld %10ld\n", s.seconds, s.rssKb, s.descriptors, totals.requests.load(),
              totals.errors.load() + totals.unanswered.load(), totals.posted.load());
  std::fflush(stdout);
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = soakSeconds(argc, argv);
  handheld::bench::BenchDevice device;
  std::string error;
  auto control = AutomationClient::connect(device.root(), error);
  if (!control) {
    std::fprintf(stderr, "cannot reach the device: %s\n", error.c_str());
    return 1;
  }
  const auto status = control->call<ipc::DeviceStatus>({});
  if (!status) {
    std::fprintf(stderr, "the device did not say its process\n");
    return 1;
  }
  const auto server = static_cast<pid_t>(status->serverPid);
  registerClass(u"SoakTarget", targetProc);
  registerClass(u"SoakPlain", plainProc);
  TargetWindow target;

  std::printf("soak: %d clients for %d s against device server %d\n", kClients, seconds, static_cast<int>(server));
  std::printf("%8s %10s %6s %10s %7s %10s\n", "seconds", "RSS kB", "fds", "requests", "failed", "posts seen");
  const auto start = Clock::now();
  const auto end = start + std::chrono::seconds(seconds);
  std::vector<Sample> samples{takeSample(server, start)};
  std::vector<std::thread> clients;
  for (int i = 0; i < kClients; ++i) {
    clients.emplace_back(runClient, device.root(), i, target.handle(), end, kMaxRoundsPerSecond * seconds);
  }
  for (auto next = start + kSampleEvery; next < end; next += kSampleEvery) {
    std::this_thread::sleep_until(next);
    samples.push_back(takeSample(server, start));
  }
  for (auto& c : clients) c.join();
  const Sample lastUnderLoad = samples.back();
  // The clients' connections are closed; give the server a moment to see them go.
  std::this_thread::sleep_for(std::chrono::seconds(1));
  samples.push_back(takeSample(server, start));

  // Under load, growth is judged from the first sample taken under load (once the server's
  // buffers and the hive have their working size); at rest, from before the clients started.
  const Sample& firstUnderLoad = samples.size() > 2 ? samples[1] : samples.front();
  std::printf("under load, %ld s to %ld s: RSS %+ld kB, descriptors %+ld\n", firstUnderLoad.seconds,
              lastUnderLoad.seconds, lastUnderLoad.rssKb - firstUnderLoad.rssKb,
              lastUnderLoad.descriptors - firstUnderLoad.descriptors);
  std::printf("at rest, before and after: RSS %+ld kB, descriptors %+ld\n", samples.back().rssKb - samples.front().rssKb,
              samples.back().descriptors - samples.front().descriptors);
  return 0;
}
