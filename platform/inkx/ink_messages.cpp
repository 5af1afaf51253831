// The messages the control and its inner window both answer: pen, mode, zoom, page, undo,
// streaming, the clipboard and the automation state.
#include <algorithm>
#include <cstring>

#include "ink_control_parts.h"
#include "ink_stream.h"
#include "user/controls/automation_state.h"

namespace handheld::inkx {
namespace {

// Pieces handed to the stream callback; and the most a stream may bring in, so that a
// callback that never ends cannot exhaust memory.
constexpr size_t kPiece = 4096;
constexpr size_t kMaxStreamIn = size_t{64} << 20;

UINT contentFormat() {
  static const UINT format = RegisterClipboardFormatW(u"InkX Content");
  return format;
}

LRESULT streamOut(InkControl& ink, WPARAM format, EDITSTREAM* stream) {
  if (!stream || !stream->pfnCallback || format != INK_STREAM_FORMAT) return 0;
  const std::vector<uint8_t> bytes = writeStream(ink.editor.document());
  size_t at = 0;
  uint8_t piece[kPiece];
  while (at < bytes.size()) {
    const size_t n = std::min(kPiece, bytes.size() - at);
    std::memcpy(piece, bytes.data() + at, n);
    LONG done = 0;
    const DWORD error = stream->pfnCallback(stream->dwCookie, piece, static_cast<LONG>(n), &done);
    if (error != 0) {
      stream->dwError = error;
      break;
    }
    // A callback that took nothing would loop forever; one that claims more took the piece.
    if (done <= 0) break;
    at += std::min(n, static_cast<size_t>(done));
  }
  return static_cast<LRESULT>(at);
}

LRESULT streamIn(InkControl& ink, WPARAM format, EDITSTREAM* stream) {
  if (!stream || !stream->pfnCallback || format != INK_STREAM_FORMAT) return 0;
  std::vector<uint8_t> bytes;
  uint8_t piece[kPiece];
  while (true) {
    LONG got = 0;
    const DWORD error = stream->pfnCallback(stream->dwCookie, piece, static_cast<LONG>(kPiece), &got);
    if (error != 0) {
      stream->dwError = error;  // the content stays as it was
      return 0;
    }
    if (got <= 0) break;
    if (bytes.size() + kPiece > kMaxStreamIn) {
      stream->dwError = INK_STREAM_DAMAGED;
      return 0;
    }
    bytes.insert(bytes.end(), piece, piece + std::min<size_t>(kPiece, static_cast<size_t>(got)));
  }
  ReadResult read = readStream(bytes);
  if (read.status == ReadStatus::damaged) stream->dwError = INK_STREAM_DAMAGED;
  if (read.status == ReadStatus::unknownVersion) {
    stream->dwError = INK_STREAM_UNKNOWN_VERSION;
    return 0;
  }
  ink.editor.replace(std::move(read.document));
  ink.scrollX = ink.scrollY = 0;
  refresh(ink);
  return static_cast<LRESULT>(bytes.size());
}

bool copySelection(InkControl& ink) {
  if (!ink.editor.hasSelection() || !OpenClipboard(ink.inner)) return false;
  EmptyClipboard();
  const auto bytes = writeStream(ink.editor.selection());
  if (HLOCAL block = LocalAlloc(LMEM_FIXED, bytes.size())) {
    std::memcpy(block, bytes.data(), bytes.size());
    if (!SetClipboardData(contentFormat(), block)) LocalFree(block);
  }
  const std::u16string text = ink.editor.selectedText();
  if (!text.empty()) {
    if (HLOCAL block = LocalAlloc(LMEM_FIXED, (text.size() + 1) * sizeof(char16_t))) {
      std::memcpy(block, text.c_str(), (text.size() + 1) * sizeof(char16_t));
      if (!SetClipboardData(CF_UNICODETEXT, block)) LocalFree(block);
    }
  }
  CloseClipboard();
  return true;
}

Change paste(InkControl& ink) {
  if (!OpenClipboard(ink.inner)) return Change::none;
  InkDocument clip;
  if (HANDLE block = GetClipboardData(contentFormat())) {
    const size_t size = LocalSize(block);
    clip = readStream({static_cast<const uint8_t*>(block), size}).document;
  } else if (HANDLE text = GetClipboardData(CF_UNICODETEXT)) {
    const auto* chars = static_cast<const char16_t*>(text);
    const size_t units = LocalSize(text) / sizeof(char16_t);
    clip.text.chars.assign(chars, std::find(chars, chars + units, u'\0'));
  }
  CloseClipboard();
  return ink.editor.paste(clip);
}

void describe(const InkControl& ink, nlohmann::json& state) {
  const auto& document = ink.editor.document();
  std::string text;
  for (char16_t c : document.text.chars) text += c < 0x80 ? static_cast<char>(c) : '?';
  state["mode"] = ink.mode;
  state["zoom"] = ink.editor.zoom;
  state["pageFlags"] = ink.pageFlags;
  state["strokes"] = document.strokes.size();
  state["text"] = text;
  state["recordings"] = document.recordings.size();
  state["caret"] = ink.editor.caret();
  state["selectedStrokes"] = ink.editor.selectedStrokes().size();
  state["canUndo"] = ink.editor.canUndo();
  state["recordMode"] = ink.recordBar;
  state["recording"] = ink.recording;
}

}  // namespace

bool handleInkMessage(InkControl& ink, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  HWND control = ink.control;
  Change change = Change::none;
  switch (message) {
    case INKM_GET_INNER: result = reinterpret_cast<LRESULT>(ink.inner); return true;
    case INKM_SET_PEN: {
      const auto* pen = reinterpret_cast<const INKPEN*>(lParam);
      result = pen != nullptr;
      if (!pen) return true;
      if (pen->dwMask & INKPEN_WIDTH)
        ink.editor.pen.width = static_cast<uint16_t>(std::clamp<DWORD>(pen->dwWidth, 1, 64) * kSubUnits);
      if (pen->dwMask & INKPEN_ERASER)
        ink.editor.pen.eraserReach = static_cast<int32_t>(std::clamp<DWORD>(pen->dwEraserTenths, 10, 2000) * kSubUnits / 10);
      if (pen->dwMask & INKPEN_TEXT_HEIGHT) ink.editor.pen.textHeight = static_cast<uint32_t>(clampTextHeight(pen->dwTextHeight));
      if (pen->dwMask & INKPEN_COLOR) ink.editor.pen.color = pen->crColor & 0xFFFFFF;
      refresh(ink);
      return true;
    }
    case INKM_SET_MODE:
      result = wParam <= INKMODE_ERASING;
      if (!result) return true;
      ink.mode = static_cast<int>(wParam);
      if (ink.mode != INKMODE_TYPING && ink.mode != INKMODE_SELECTING) ink.editor.clearSelection();
      ink.band.reset();
      refresh(ink);
      return true;
    case INKM_SET_ZOOM: setZoom(ink, static_cast<int>(std::clamp<LPARAM>(lParam, kMinZoom, kMaxZoom))); result = ink.editor.zoom; return true;
    case INKM_GET_ZOOM: result = ink.editor.zoom; return true;
    case INKM_SET_PAGE: ink.pageFlags = static_cast<uint32_t>(wParam); refresh(ink); result = TRUE; return true;
    case INKM_HAS_CONTENT: result = !ink.editor.document().empty(); return true;
    case EM_CANUNDO: result = ink.editor.canUndo(); return true;
    case EM_EMPTYUNDOBUFFER: ink.editor.emptyUndo(); result = 0; return true;
    case INKM_UNDO:
    case WM_UNDO:
      change = ink.editor.undo();
      result = change != Change::none;
      break;
    case EM_STREAMOUT: result = streamOut(ink, wParam, reinterpret_cast<EDITSTREAM*>(lParam)); return true;
    case EM_STREAMIN: result = streamIn(ink, wParam, reinterpret_cast<EDITSTREAM*>(lParam)); return true;
    case WM_COPY: result = copySelection(ink); return true;
    case WM_CUT:
      if (copySelection(ink)) change = ink.editor.deleteSelection();
      result = 0;
      break;
    case WM_PASTE: change = paste(ink); result = 0; break;
    case WM_CLEAR: change = ink.editor.deleteSelection(); result = 0; break;
    case user::controls::WM_AUTOMATION_STATE: describe(ink, user::controls::automationStateOf(lParam)); result = 0; return true;
    default: return false;
  }
  if (change != Change::none) {
    refresh(ink);
    if (ink.mode == INKMODE_TYPING) ensureCaretVisible(ink);
  }
  notifyChange(control, change);
  return true;
}

}  // namespace handheld::inkx
