#include "notewindow/ink_canvas.h"

#include <inkx.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <mutex>
#include <new>

#include "app/app_references.h"
#include "app/note_colours.h"
#include "notewindow/sound_image.h"

namespace {

constexpr DWORD kBorderedStyle = 0x50B000CC;
constexpr DWORD kPlainStyle = 0x503000CC;
constexpr UINT_PTR kRepaintTimerId = 666;
constexpr UINT kRepaintDelayMs = 2000;
constexpr int kMinZoom = 25;
constexpr int kMaxZoom = 300;
constexpr int kDefaultZoom = 100;
constexpr int kCreatedZoom = 200;
// A further step is possible from below the top step and above the bottom one.
constexpr int kBelowTopStep = 200;
constexpr int kAboveBottomStep = 50;
constexpr int kPanelWidth = 242;
constexpr int kHeightPanelUp = 145;
constexpr int kHeightPanelDown = 226;

// Page flags by page style index; anything else, and a hidden page, is a blank page.
constexpr WPARAM kPageFlags[] = {INKPAGE_BLANK,       INKPAGE_GRID,       INKPAGE_RULED,          INKPAGE_DOTTED,
                                 INKPAGE_LEFT_MARGIN, INKPAGE_TOP_MARGIN, INKPAGE_LEFT_TOP_MARGIN};

WPARAM pageFlags(bool shown, int styleIndex) {
  if (!shown || styleIndex < 0 || styleIndex >= static_cast<int>(std::size(kPageFlags))) return INKPAGE_BLANK;
  return kPageFlags[styleIndex];
}

// Black strokes 2 pixels wide, a 20-pixel eraser and 16-pixel text.
constexpr INKPEN kPen = {INKPEN_WIDTH | INKPEN_ERASER | INKPEN_TEXT_HEIGHT | INKPEN_COLOR, 2, 200, 16, 0, 0};

}  // namespace

InkCanvas::InkCanvas() = default;

InkCanvas::~InkCanvas() { destroy(); }

void InkCanvas::create(HWND parent, int controlId, int x, int y, int width, int height, bool bordered) {
  destroy();
  parent_ = parent;
  controlId_ = controlId;
  x_ = x;
  y_ = y;
  width_ = width;
  height_ = height;
  bordered_ = bordered;
  pageShown_ = false;
  pageStyle_ = 0;
  mode_ = 0;
  panelUp_ = false;

  control_ = CreateWindowExW(0, INKX_CLASS, u"", bordered ? kBorderedStyle : kPlainStyle, x, y, width, height,
                             parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                             GetModuleHandleW(nullptr), nullptr);
  if (!control_) return;
  inner_ = reinterpret_cast<HWND>(SendMessageW(control_, INKM_GET_INNER, 0, 0));
  if (inner_) SendMessageW(inner_, INKM_SET_PEN, 0, reinterpret_cast<LPARAM>(&kPen));
  setMode(0);
  background_ = CreateSolidBrush(kNoteYellow);
  setZoom(kCreatedZoom);
  if (inner_) {
    SetWindowLongPtrW(inner_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    innerProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(inner_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&InkCanvas::canvasProc)));
    InvalidateRect(inner_, nullptr, TRUE);
    UpdateWindow(inner_);
    SendMessageW(inner_, EM_EMPTYUNDOBUFFER, 0, 0);
  }
}

void InkCanvas::destroy() {
  if (control_) {
    if (inner_ && repaintTimer_) KillTimer(inner_, repaintTimer_);
    DestroyWindow(control_);
  }
  control_ = nullptr;
  inner_ = nullptr;
  innerProc_ = nullptr;
  repaintTimer_ = 0;
  if (background_) DeleteObject(background_);
  background_ = nullptr;
}

void InkCanvas::move(int x, int y, int width, int height) {
  x_ = x;
  y_ = y;
  width_ = width;
  height_ = height;
  if (control_) MoveWindow(control_, x, y, width, height, TRUE);
}

void InkCanvas::setPanelUp(bool up) {
  panelUp_ = up;
  width_ = kPanelWidth * theScreen.scaleX;
  height_ = (up ? kHeightPanelUp : kHeightPanelDown) * theScreen.scaleY;
  if (control_) {
    SetWindowPos(control_, nullptr, 0, 0, width_, height_, SWP_NOMOVE | SWP_NOZORDER | SWP_SHOWWINDOW);
  }
}

void InkCanvas::sendZoom() {
  if (inner_) SendMessageW(inner_, INKM_SET_ZOOM, 0, zoom_);
}

void InkCanvas::setZoom(int percent) {
  zoom_ = std::clamp(percent, kMinZoom, kMaxZoom);
  sendZoom();
}

void InkCanvas::setZoomIndex(int index) {
  const bool known = index >= 0 && index < static_cast<int>(std::size(kZoomSteps));
  setZoom(known ? kZoomSteps[index] : kDefaultZoom);
}

bool InkCanvas::zoomIn() {
  const auto* step = std::find(std::begin(kZoomSteps), std::end(kZoomSteps), zoom_);
  if (step != std::end(kZoomSteps) && step + 1 != std::end(kZoomSteps)) zoom_ = step[1];
  sendZoom();
  return zoom_ <= kBelowTopStep;
}

bool InkCanvas::zoomOut() {
  const auto* step = std::find(std::begin(kZoomSteps), std::end(kZoomSteps), zoom_);
  if (step != std::end(kZoomSteps) && step != std::begin(kZoomSteps)) zoom_ = step[-1];
  sendZoom();
  return zoom_ >= kAboveBottomStep;
}

bool InkCanvas::canUndo() const { return inner_ && SendMessageW(inner_, EM_CANUNDO, 0, 0) != 0; }

void InkCanvas::undo() {
  if (!canUndo()) return;
  SendMessageW(inner_, INKM_UNDO, 0, 0);
  // An undo brings back the zoom the change was made at.
  zoom_ = static_cast<int>(SendMessageW(inner_, INKM_GET_ZOOM, 0, 0));
}

void InkCanvas::setMode(int mode) {
  mode_ = mode;
  if (inner_) SendMessageW(inner_, INKM_SET_MODE, static_cast<WPARAM>(mode), 0);
}

void InkCanvas::setPage(bool shown, int styleIndex) {
  pageShown_ = shown;
  pageStyle_ = styleIndex;
  if (control_) PostMessageW(control_, INKM_SET_PAGE, pageFlags(shown, styleIndex), 0);
}

void InkCanvas::toggleRecording() {
  recording_ = recording_ ? 0 : 1;
  if (control_) SendMessageW(control_, INKM_RECORD_MODE, static_cast<WPARAM>(recording_), 0);
}

void InkCanvas::recordNow() {
  if (!control_) return;
  SendMessageW(control_, INKM_STOP, 0, 0);
  SendMessageW(control_, INKM_RECORD, 0, 0);
}

void InkCanvas::stop() {
  if (control_) SendMessageW(control_, INKM_STOP, 0, 0);
}

bool InkCanvas::isEmpty() const { return !control_ || SendMessageW(control_, INKM_HAS_CONTENT, 0, 0) == 0; }

void InkCanvas::cut() {
  if (control_) SendMessageW(control_, WM_CUT, 0, 0);
}

void InkCanvas::copy() {
  if (control_) SendMessageW(control_, WM_COPY, 0, 0);
}

void InkCanvas::paste() {
  if (control_) SendMessageW(control_, WM_PASTE, 0, 0);
}

DWORD CALLBACK InkCanvas::takePiece(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
  auto& stream = *reinterpret_cast<StreamBlock*>(cookie);
  const size_t piece = count > 0 ? static_cast<size_t>(count) : 0;
  if (stream.counting) {
    stream.size += piece;
  } else {
    // More than was counted means the content changed between the passes: cut, and say so.
    const size_t copied = std::min(piece, stream.size - stream.cursor);
    if (copied > 0) std::memcpy(stream.target + stream.cursor, buffer, copied);
    stream.cursor += copied;
    if (copied < piece) stream.overflow = true;
  }
  if (done) *done = count;
  return 0;
}

DWORD CALLBACK InkCanvas::givePiece(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
  auto& stream = *reinterpret_cast<StreamBlock*>(cookie);
  const size_t wanted = count > 0 ? static_cast<size_t>(count) : 0;
  const size_t given = std::min(wanted, stream.size - stream.cursor);
  if (given > 0) std::memcpy(buffer, stream.source + stream.cursor, given);
  stream.cursor += given;
  if (done) *done = static_cast<LONG>(given);
  return 0;
}

bool InkCanvas::runStream(UINT message, DWORD(CALLBACK* callback)(DWORD_PTR, LPBYTE, LONG, LONG*)) {
  EDITSTREAM record{reinterpret_cast<DWORD_PTR>(&stream_), 0, callback};
  SendMessageW(control_, message, INK_STREAM_FORMAT, reinterpret_cast<LPARAM>(&record));
  return record.dwError == 0;
}

bool InkCanvas::streamOut(std::vector<BYTE>& bytes) {
  std::lock_guard guard(lock_);
  if (!control_) return false;
  stream_ = StreamBlock{};
  stream_.counting = true;
  bool read = runStream(EM_STREAMOUT, &InkCanvas::takePiece);
  std::vector<BYTE> block;
  if (read) {
    try {
      block.resize(stream_.size);
    } catch (const std::bad_alloc&) {
      read = false;
    }
  }
  if (read) {
    stream_.counting = false;
    stream_.target = block.data();
    stream_.cursor = 0;
    read = runStream(EM_STREAMOUT, &InkCanvas::takePiece) && !stream_.overflow && stream_.cursor == block.size();
  }
  stream_ = StreamBlock{};
  if (read) bytes = std::move(block);
  return read;
}

void InkCanvas::streamIn(std::span<const BYTE> bytes) {
  std::lock_guard guard(lock_);
  if (!control_) return;
  stream_ = StreamBlock{};
  stream_.source = bytes.data();
  stream_.size = bytes.size();
  runStream(EM_STREAMIN, &InkCanvas::givePiece);
  stream_ = StreamBlock{};
}

void InkCanvas::recreate(bool restore) {
  std::lock_guard guard(lock_);
  const bool panelUp = panelUp_;
  const bool pageShown = pageShown_;
  const int pageStyle = pageStyle_;
  const int mode = mode_;
  destroy();
  create(parent_, controlId_, x_, y_, width_, height_, bordered_);
  if (!restore) return;
  setPanelUp(panelUp);
  setPage(pageShown, pageStyle);
  setMode(mode);
}

void InkCanvas::playRecording(std::span<const BYTE> content) {
  const std::span<const BYTE> image = FindSoundImage(content);
  if (image.empty()) return;
  // A recording the speaker refuses plays nothing rather than the device's default sound.
  PlaySoundW(reinterpret_cast<LPCWSTR>(image.data()), nullptr, SND_MEMORY | SND_SYNC | SND_NODEFAULT);
}

void InkCanvas::stopSound() { PlaySoundW(nullptr, nullptr, 0); }

LRESULT CALLBACK InkCanvas::canvasProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* canvas = reinterpret_cast<InkCanvas*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!canvas || !canvas->innerProc_) return DefWindowProcW(window, message, wParam, lParam);
  return canvas->handleInner(window, message, wParam, lParam);
}

LRESULT InkCanvas::handleInner(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, background_);
      return 1;
    }
    case WM_KEYUP:
      // Typing draws only what changed; the whole page is redrawn once typing pauses.
      repaintTimer_ = SetTimer(window, kRepaintTimerId, kRepaintDelayMs, nullptr);
      break;
    case WM_TIMER:
      if (wParam != kRepaintTimerId) break;
      InvalidateRect(window, nullptr, TRUE);
      UpdateWindow(window);
      KillTimer(window, repaintTimer_);
      repaintTimer_ = 0;
      return 0;
    case WM_NCDESTROY: {
      // The control can go with its parent before the object does: forget it then.
      const WNDPROC own = innerProc_;
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      control_ = nullptr;
      inner_ = nullptr;
      innerProc_ = nullptr;
      repaintTimer_ = 0;
      return CallWindowProcW(own, window, message, wParam, lParam);
    }
    default: break;
  }
  return CallWindowProcW(innerProc_, window, message, wParam, lParam);
}
