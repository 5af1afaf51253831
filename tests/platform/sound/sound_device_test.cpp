// Sound on a running device, through the API in this process and handheld-ctl: how long
// plays last, what the speaker log says of them, stopping, refusals, and recording from the
// microphone source that automation chooses.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>
#include <windows.h>

#include <chrono>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>
#include <vector>

#include "support/device_fixture.h"
#include "wave_images.h"

namespace handheld::testing {
namespace {

using Clock = std::chrono::steady_clock;

constexpr DWORD kFileNotFound = 2;
constexpr DWORD kBusy = 170;
constexpr DWORD kSndSync = 0x0000;
constexpr DWORD kSndAsync = 0x0001;
constexpr DWORD kSndNoDefault = 0x0002;
constexpr DWORD kSndMemory = 0x0004;
constexpr DWORD kSndLoop = 0x0008;
constexpr DWORD kSndNoStop = 0x0010;
constexpr DWORD kSndFilename = 0x00020000;

long long msSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

struct LogLine {
  std::string source, format, result;
  double length = 0, start = 0, end = -1;
};

class Sound : public DeviceFixture {
 protected:
  // A file of `seconds` of 16-bit mono 22050 Hz at \My Documents\<name>.
  std::u16string placeWave(const std::string& name, double seconds) {
    return placeBytes(name, waveImage({.frames = static_cast<uint32_t>(22050 * seconds)}));
  }
  std::u16string placeBytes(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream(hostPath("My Documents/" + name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return u"\\My Documents\\" + std::u16string(name.begin(), name.end());
  }

  // The plays of the speaker log, oldest first (notes and refusals left out).
  std::vector<LogLine> plays() {
    std::string out;
    EXPECT_EQ(ctl("speaker-log", &out), 0);
    static const std::regex line(
        R"re(pid=\d+ source="([^"]*)" format=(\S+) length=([\d.]+) start=([\d.]+) end=([\d.]+|-) result=(.+))re");
    std::vector<LogLine> result;
    std::istringstream lines(out);
    for (std::string text; std::getline(lines, text);) {
      std::smatch m;
      if (!std::regex_match(text, m, line)) continue;
      result.push_back({m[1], m[2], m[6], std::stod(m[3]), std::stod(m[4]), m[5] == "-" ? -1 : std::stod(m[5])});
    }
    return result;
  }
  std::string speakerLog() {
    std::string out;
    EXPECT_EQ(ctl("speaker-log", &out), 0);
    return out;
  }
};

TEST_F(Sound, SyncPlayLastsTheSoundsLengthAndTheLogListsItWithItsDuration) {
  const auto file = placeWave("half.wav", 0.5);
  const auto start = Clock::now();
  EXPECT_TRUE(PlaySoundW(file.c_str(), nullptr, kSndFilename | kSndSync));
  const auto took = msSince(start);
  EXPECT_GE(took, 500);
  EXPECT_LT(took, 1500);

  auto log = plays();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].source, "\\My Documents\\half.wav");
  EXPECT_EQ(log[0].format, "pcm16/mono/22050");
  EXPECT_DOUBLE_EQ(log[0].length, 0.5);
  EXPECT_EQ(log[0].result, "ended");
  EXPECT_GE(log[0].end - log[0].start, 0.499);

  // device.log has the same line.
  std::ifstream deviceLog(hostPath(".device/device.log"));
  std::string all((std::istreambuf_iterator<char>(deviceLog)), {});
  EXPECT_NE(all.find("speaker: pid="), std::string::npos);
  EXPECT_NE(all.find("length=0.500"), std::string::npos);
}

TEST_F(Sound, ThreeSyncPlaysFollowEachOtherInTheSpeakerLog) {
  const auto file = placeWave("short.wav", 0.2);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(PlaySoundW(file.c_str(), nullptr, kSndFilename | kSndSync));
  auto log = plays();
  ASSERT_EQ(log.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(log[i].result, "ended");
    EXPECT_GE(log[i].end - log[i].start, 0.199);
    if (i) EXPECT_GE(log[i].start, log[i - 1].end);
  }
}

TEST_F(Sound, AsyncReturnsAtOnceAndNullStopsTheProcesssSound) {
  const auto file = placeWave("long.wav", 3);
  const auto start = Clock::now();
  EXPECT_TRUE(PlaySoundW(file.c_str(), nullptr, kSndFilename | kSndAsync));
  EXPECT_LT(msSince(start), 400);
  auto log = plays();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].result, "playing");
  EXPECT_EQ(log[0].end, -1);

  EXPECT_TRUE(PlaySoundW(nullptr, nullptr, 0));
  log = plays();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].result, "stopped");
  EXPECT_LT(log[0].end - log[0].start, 2.0);
  EXPECT_TRUE(PlaySoundW(nullptr, nullptr, 0));  // nothing playing: still fine
}

TEST_F(Sound, NullFromAnotherThreadEndsASyncPlay) {
  const auto file = placeWave("long.wav", 3);
  const auto start = Clock::now();
  std::thread player([&] { EXPECT_TRUE(PlaySoundW(file.c_str(), nullptr, kSndFilename | kSndSync)); });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  PlaySoundW(nullptr, nullptr, 0);
  player.join();
  EXPECT_LT(msSince(start), 1500);
  auto log = plays();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].result, "stopped");
}

TEST_F(Sound, NoStopFailsWhileASoundPlaysAndANewSoundReplacesTheOldOne) {
  const auto first = placeWave("first.wav", 3);
  const auto second = placeWave("second.wav", 0.1);
  ASSERT_TRUE(PlaySoundW(first.c_str(), nullptr, kSndFilename | kSndAsync));
  SetLastError(0);
  EXPECT_FALSE(PlaySoundW(second.c_str(), nullptr, kSndFilename | kSndAsync | kSndNoStop));
  EXPECT_EQ(GetLastError(), kBusy);
  EXPECT_FALSE(sndPlaySoundW(second.c_str(), kSndAsync | kSndNoStop));

  EXPECT_TRUE(PlaySoundW(second.c_str(), nullptr, kSndFilename | kSndSync));
  auto log = plays();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].source, "\\My Documents\\first.wav");
  EXPECT_EQ(log[0].result, "replaced");
  EXPECT_EQ(log[1].result, "ended");
  // Nothing plays now, so no-stop plays.
  EXPECT_TRUE(PlaySoundW(second.c_str(), nullptr, kSndFilename | kSndSync | kSndNoStop));
}

TEST_F(Sound, MemoryImagePlaysSynchronouslyFromTheCallersBytes) {
  auto image = waveImage({.rate = 8000, .channels = 2, .bits = 8, .frames = 2400});  // 0.3 s
  const auto start = Clock::now();
  EXPECT_TRUE(PlaySoundW(reinterpret_cast<LPCWSTR>(image.data()), nullptr, kSndMemory | kSndSync));
  EXPECT_GE(msSince(start), 300);
  auto log = plays();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].source, "memory(" + std::to_string(image.size()) + " bytes)");
  EXPECT_EQ(log[0].format, "pcm8/stereo/8000");
  EXPECT_DOUBLE_EQ(log[0].length, 0.3);
}

TEST_F(Sound, MemoryImageThatClaimsMoreThanIsMappedPlaysWhatIsThere) {
  // The image ends where the process's memory does; its RIFF size claims 2 GiB.
  const long page = sysconf(_SC_PAGESIZE);
  auto* area = static_cast<uint8_t*>(mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
  ASSERT_NE(area, MAP_FAILED);
  ASSERT_EQ(mprotect(area + page, page, PROT_NONE), 0);  // stays reserved, unreadable
  auto image = waveImage({.rate = 8000, .bits = 8, .frames = 800, .riffSize = 0x7FFFFFF0, .dataSize = 0x7FFFFFF0});
  uint8_t* at = area + page - image.size();
  std::copy(image.begin(), image.end(), at);
  EXPECT_TRUE(PlaySoundW(reinterpret_cast<LPCWSTR>(at), nullptr, kSndMemory | kSndSync));
  munmap(area, 2 * page);
  auto log = plays();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_DOUBLE_EQ(log[0].length, 0.1);
  EXPECT_NE(speakerLog().find("note: data chunk says 2147483632 bytes, 800 present"), std::string::npos);
}

TEST_F(Sound, MissingFilePlaysTheDefaultSoundUnlessNoDefault) {
  SetLastError(0);
  EXPECT_FALSE(PlaySoundW(u"\\My Documents\\none.wav", nullptr, kSndFilename | kSndSync | kSndNoDefault));
  EXPECT_EQ(GetLastError(), kFileNotFound);
  EXPECT_TRUE(plays().empty());

  const auto start = Clock::now();
  EXPECT_TRUE(PlaySoundW(u"\\My Documents\\none.wav", nullptr, kSndFilename | kSndSync));
  EXPECT_GE(msSince(start), 200);
  auto log = plays();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].source, "default");
  EXPECT_DOUBLE_EQ(log[0].length, 0.2);
  EXPECT_NE(speakerLog().find("source=\"\\My Documents\\none.wav\" refused: cannot be read (error 2); the default "
                              "sound instead"),
            std::string::npos);
}

TEST_F(Sound, AFileThatIsNoSoundIsRefusedAndAPathOutsideTheRootIsNotRead) {
  const auto text = placeBytes("text.wav", {'h', 'e', 'l', 'l', 'o'});
  EXPECT_FALSE(PlaySoundW(text.c_str(), nullptr, kSndFilename | kSndNoDefault));
  EXPECT_FALSE(PlaySoundW(u"\\..\\outside.wav", nullptr, kSndFilename | kSndNoDefault));
  EXPECT_TRUE(plays().empty());
  EXPECT_NE(speakerLog().find("refused: too short for a RIFF header"), std::string::npos);
  // The device is still there to play.
  EXPECT_TRUE(PlaySoundW(placeWave("ok.wav", 0.05).c_str(), nullptr, kSndFilename));
}

TEST_F(Sound, LoopNeedsAsyncAndRepeatsUntilStopped) {
  const auto file = placeWave("tick.wav", 0.1);
  SetLastError(0);
  EXPECT_FALSE(PlaySoundW(file.c_str(), nullptr, kSndFilename | kSndLoop));
  EXPECT_EQ(GetLastError(), 87u);
  ASSERT_TRUE(PlaySoundW(file.c_str(), nullptr, kSndFilename | kSndLoop | kSndAsync));
  std::this_thread::sleep_for(std::chrono::milliseconds(450));
  PlaySoundW(nullptr, nullptr, 0);
  auto log = plays();
  ASSERT_GE(log.size(), 4u);
  for (size_t i = 0; i + 1 < log.size(); ++i) EXPECT_EQ(log[i].result, "ended");
  EXPECT_EQ(log.back().result, "stopped");
}

TEST_F(Sound, OneOutputAndOneInputDevice) {
  EXPECT_EQ(waveOutGetNumDevs(), 1u);
  EXPECT_EQ(waveInGetNumDevs(), 1u);
}

}  // namespace
}  // namespace handheld::testing
