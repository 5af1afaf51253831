// The expiry picker: a small popup over the note window with a time field and a month
// calendar. It edits the note's expiry in place and posts PNM_NOTE_PICKER_CLOSED to its owner
// when it closes, with `changed()` telling whether the expiry was changed.
#pragma once

#include <windows.h>

class ExpiryPicker {
 public:
  ExpiryPicker();
  virtual ~ExpiryPicker();
  ExpiryPicker(const ExpiryPicker&) = delete;
  ExpiryPicker& operator=(const ExpiryPicker&) = delete;

  // Opens the popup at the owner's top right; false when it cannot be made. While it is open,
  // closes it instead, as a tap outside it does, and returns false.
  bool open(HWND owner, HWND dateButton);
  // Destroys the popup if there is one; safe while the owner is being destroyed.
  void close();
  bool isOpen() const { return popup_ != nullptr; }
  HWND popup() const { return popup_; }

  // The note's current expiry (hour 25: never).
  const SYSTEMTIME& value() const { return value_; }
  void setValue(const SYSTEMTIME& value) { value_ = value; }
  bool changed() const { return changed_; }

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Takes the controls' date and time into value_ when they differ from it.
  void readBack();
  void postClosed();
  // Closing by a tap outside: the tap goes nowhere else, the panel goes down, the controls'
  // time is taken.
  void dismiss();
  void forget();

  HWND owner_ = nullptr;
  HWND popup_ = nullptr;
  HWND timeField_ = nullptr;
  HWND calendar_ = nullptr;
  HWND dateButton_ = nullptr;
  // The popup's screen rectangle.
  int x_ = 0;
  int y_ = 0;
  int width_ = 0;
  int height_ = 0;
  SYSTEMTIME value_ = {};
  bool changed_ = false;
};
