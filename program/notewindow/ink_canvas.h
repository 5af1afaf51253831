// The writing and typing surface of a note window: one "InkX" control, spoken to only through
// its messages. The content moves in and out as one byte block (the note's content bytes);
// streaming and making the control anew share one stream state, so they run under one lock.
#pragma once

#include <windows.h>

#include <span>
#include <vector>

#include "pinnotes/critical_section.h"

class InkCanvas {
 public:
  // The zoom steps in percent; the setting "Zoom" is an index into them.
  static constexpr int kZoomSteps[] = {25, 50, 75, 100, 150, 200, 300};

  InkCanvas();
  virtual ~InkCanvas();
  InkCanvas(const InkCanvas&) = delete;
  InkCanvas& operator=(const InkCanvas&) = delete;

  // Creates and prepares the control; when it cannot be made the canvas stays without one
  // and every later operation does nothing.
  void create(HWND parent, int controlId, int x, int y, int width, int height, bool bordered);
  void destroy();
  void move(int x, int y, int width, int height);
  // Sizes the control for the input panel being up or down, keeping its position.
  void setPanelUp(bool up);

  void setZoom(int percent);
  void setZoomIndex(int index);
  // One step up or down; a zoom that is not a step stays. Whether a further step is possible
  // in that direction (the new zoom is at most 200, or at least 50).
  bool zoomIn();
  bool zoomOut();
  int getZoom() const { return zoom_; }
  bool canUndo() const;
  void undo();

  void setMode(int mode);
  void setPage(bool shown, int styleIndex);
  void toggleRecording();
  void recordNow();
  void stop();
  bool isEmpty() const;
  void cut();
  void copy();
  void paste();

  // The content into a new block; false (and `bytes` untouched) when it could not be had, so
  // that a caller never replaces a note's content with a failed read. On the note window's
  // thread only: the lock is held while the control is sent to.
  bool streamOut(std::vector<BYTE>& bytes);
  void streamIn(std::span<const BYTE> bytes);
  // Makes the control anew, empty; with `restore` it keeps the panel state, page and mode.
  void recreate(bool restore);

  // Plays the first sound image found in a copy of the content, synchronously; any thread.
  static void playRecording(std::span<const BYTE> content);
  static void stopSound();

  HWND control() const { return control_; }
  HWND inner() const { return inner_; }
  bool panelUp() const { return panelUp_; }
  bool pageShown() const { return pageShown_; }
  int pageStyle() const { return pageStyle_; }
  int mode() const { return mode_; }
  bool recording() const { return recording_ != 0; }

 private:
  // What the stream callbacks work on: the given bytes going in, or the new block coming out
  // (first counted, then copied).
  struct StreamBlock {
    const BYTE* source = nullptr;
    BYTE* target = nullptr;
    size_t size = 0;
    size_t cursor = 0;
    bool counting = false;
    bool overflow = false;
  };

  static LRESULT CALLBACK canvasProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static DWORD CALLBACK takePiece(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done);
  static DWORD CALLBACK givePiece(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done);
  LRESULT handleInner(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // One EM_STREAMIN or EM_STREAMOUT over `stream_`; whether the control reported no error.
  bool runStream(UINT message, DWORD (CALLBACK* callback)(DWORD_PTR, LPBYTE, LONG, LONG*));
  void sendZoom();

  HWND control_ = nullptr;
  HWND inner_ = nullptr;
  HWND parent_ = nullptr;
  int zoom_ = 100;
  int recording_ = 0;
  bool pageShown_ = false;
  int pageStyle_ = 0;
  int mode_ = 0;
  bool panelUp_ = false;
  HBRUSH background_ = nullptr;
  WNDPROC innerProc_ = nullptr;
  UINT_PTR repaintTimer_ = 0;
  int controlId_ = 0;
  int x_ = 0;
  int y_ = 0;
  int width_ = 0;
  int height_ = 0;
  bool bordered_ = false;
  // Streaming in, out and making the control anew share `stream_`.
  CriticalSection lock_;
  StreamBlock stream_;
};
