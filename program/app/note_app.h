// The one application object: the change event that tells the Today item about new note
// files and settings, the notes folder, and the settings, each read from the registry once
// and cached (settings.cpp).
#pragma once

#include <windows.h>

#include "pinnotes/note_file_layout.h"
#include "pinnotes/settings_table.h"
#include "pinnotes/unique_handle.h"

class NoteApp {
 public:
  // Cached settings and the record button's key code start as "not read yet".
  static constexpr LONG kNotRead = -1;
  static constexpr WCHAR kSoundNotSet[] = u"?";

  // Opens the change event, creates the notes folder and runs the first-run settings.
  NoteApp();
  virtual ~NoteApp() = default;
  NoteApp(const NoteApp&) = delete;
  NoteApp& operator=(const NoteApp&) = delete;

  // Tells the Today item that note files or settings changed.
  void signalChange() const;
  LPCWSTR notesFolder() const { return notesFolder_; }
  LPCWSTR noteFileExtension() const { return NoteFileLayout::kFileExtension; }
  HINSTANCE instance() const { return instance_; }
  void setInstance(HINSTANCE instance) { instance_ = instance; }

  // Settings: getters read the registry the first time, setters write it and the cache.
  int fontSize();
  void setFontSize(int value);
  int menuCount();
  void setMenuCount(int value);
  bool notify();
  void setNotify(int value);
  bool turnOn();
  void setTurnOn(int value);
  bool dontPlay();
  void setDontPlay(int value);
  bool playRecording();
  void setPlayRecording(int value);
  bool playSound();
  void setPlaySound(int value);
  int soundCount();
  void setSoundCount(int value);
  bool recordButton();
  void setRecordButton(int value);
  bool autoDelete();
  void setAutoDelete(int value);
  int mode();
  void setMode(int value);
  int page();
  void setPage(int value);
  int zoom();
  void setZoom(int value);
  // The notification sound file; `capacity` in characters.
  void sound(LPWSTR path, int capacity) const;
  void setSound(LPCWSTR path);

  // Whether the shell shows the Today item; read anew on every call.
  static bool todayItemEnabled();
  // The virtual-key code of the hardware record button, looked up once.
  DWORD RecordButtonKey();

 private:
  int cachedSetting(LONG& cache, const SettingsTable::DwordSetting& setting);
  void storeSetting(LONG& cache, const SettingsTable::DwordSetting& setting, LONG value);
  void createNotesFolder();
  void initialiseSettingsOnFirstRun() const;

  UniqueHandle changeEvent_;
  LONG fontSize_ = kNotRead;
  LONG menuCount_ = kNotRead;
  LONG notify_ = kNotRead;
  LONG turnOn_ = kNotRead;
  LONG dontPlay_ = kNotRead;
  LONG playRecording_ = kNotRead;
  LONG playSound_ = kNotRead;
  WCHAR sound_[MAX_PATH] = u"?";
  LONG soundCount_ = kNotRead;
  LONG recordButton_ = kNotRead;
  LONG autoDelete_ = kNotRead;
  LONG mode_ = kNotRead;
  LONG page_ = kNotRead;
  LONG zoom_ = kNotRead;
  WCHAR notesFolder_[MAX_PATH] = {};
  DWORD recordButtonKey_ = 0;
  HINSTANCE instance_ = nullptr;
};
