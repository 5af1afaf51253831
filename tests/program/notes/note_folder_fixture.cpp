#include "note_folder_fixture.h"

#include <algorithm>
#include <fstream>

#include "app/accepted_path.h"
#include "app/app_references.h"
#include "notes/note_file.h"
#include "pinnotes/crossing_names.h"

namespace handheld::testing {

namespace {

void putWord(Bytes& b, std::size_t at, unsigned v) {
  b[at] = v & 0xFF;
  b[at + 1] = (v >> 8) & 0xFF;
}

std::string narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

}  // namespace

Bytes NoteBytes(const std::u16string& title, unsigned hour, unsigned char expired, const Bytes& content) {
  Bytes b(535, 0);
  const unsigned time[] = {2010, 12, 3, 1, hour, 5, 9, 0};
  for (int i = 0; i < 8; ++i) putWord(b, 2 * i, time[i]);
  for (std::size_t i = 0; i < title.size(); ++i) putWord(b, 16 + 2 * i, title[i]);
  b[526] = expired;
  putWord(b, 527, 150);  // zoom
  putWord(b, 531, static_cast<unsigned>(content.size()));
  putWord(b, 533, static_cast<unsigned>(content.size() >> 16));
  b.insert(b.end(), content.begin(), content.end());
  return b;
}

Bytes PcmWave(unsigned samples) {
  Bytes w;
  auto put = [&w](unsigned value, int bytes) {
    for (int i = 0; i < bytes; ++i) w.push_back(static_cast<unsigned char>(value >> (8 * i)));
  };
  auto tag = [&w](const char* t) {
    for (int i = 0; i < 4; ++i) w.push_back(static_cast<unsigned char>(t[i]));
  };
  tag("RIFF");
  put(36 + samples, 4);
  tag("WAVE");
  tag("fmt ");
  put(16, 4);
  put(1, 2);  // PCM, mono
  put(1, 2);
  put(8000, 4);
  put(8000, 4);
  put(1, 2);  // one byte a frame, 8 bits
  put(8, 2);
  tag("data");
  put(samples, 4);
  for (unsigned i = 0; i < samples; ++i) w.push_back(i % 20 < 10 ? 0x40 : 0xC0);
  return w;
}

void NoteFolderTest::SetUp() {
  DeviceFixture::SetUp();
  app_.emplace();
  theNoteApp = &*app_;
  app_->setPlaySound(0);
  app_->setPlayRecording(0);
  app_->setAutoDelete(0);
  recorder_.registerClass(u"NoteFileMain");
  recorder_.react(0x0401, [this](HWND, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
    const bool announced = theSavedNotePath.take(lParam);
    saved_.push_back("saved(" + std::to_string(wParam) + ", " +
                     (announced ? narrow(reinterpret_cast<LPCWSTR>(lParam)) : "not announced") + ")");
    return 0;
  });
  main_ = CreateWindowExW(0, u"NoteFileMain", u"main", 0, 0, 0, 10, 10, nullptr, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  changeEvent_ = CreateEventW(nullptr, TRUE, FALSE, CrossingNames::kChangeEvent);
  ResetEvent(changeEvent_);
}

void NoteFolderTest::TearDown() {
  SetSaveStepHook(nullptr);
  CloseHandle(changeEvent_);
  DestroyWindow(main_);
  theNoteApp = nullptr;
  app_.reset();
  DeviceFixture::TearDown();
}

std::u16string NoteFolderTest::notePath(const std::string& name) {
  return u"\\My Documents\\My Pinnotes\\" + std::u16string(name.begin(), name.end());
}

std::filesystem::path NoteFolderTest::hostNote(const std::string& name) const {
  return hostPath("My Documents/My Pinnotes/" + name);
}

Bytes NoteFolderTest::hostBytes(const std::string& name) const {
  std::ifstream in(hostNote(name), std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void NoteFolderTest::writeHost(const std::string& name, const Bytes& bytes) const {
  std::ofstream out(hostNote(name), std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> NoteFolderTest::folderNames() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(hostPath("My Documents/My Pinnotes"))) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> NoteFolderTest::mainWindowLog() {
  recorder_.pumpPending();
  std::vector<std::string> log;
  std::size_t saved = 0;
  for (const auto& m : recorder_.messages()) {
    if (m.window != main_) continue;
    if (m.message == 1027) log.push_back(m.posted ? "opening posted" : "opening");
    if (m.message == 1025) log.push_back(saved < saved_.size() ? saved_[saved++] : "saved?");
    if (m.message == 1026) log.push_back(m.posted ? "closed" : "closed sent");
  }
  recorder_.clear();
  saved_.clear();
  return log;
}

bool NoteFolderTest::changeSignalled() {
  const bool set = WaitForSingleObject(changeEvent_, 0) == WAIT_OBJECT_0;
  ResetEvent(changeEvent_);
  return set;
}

}  // namespace handheld::testing
