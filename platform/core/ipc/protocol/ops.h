// Every operation of the device protocol with its number on the wire, in one table, and the
// directions a message travels in. The numbers are the wire format: an operation keeps its
// number for good; a new one takes a number of its own.
#pragma once

#include <concepts>
#include <cstdint>
#include <string_view>

#include "ipc/wire.h"

// X(name, number): the message struct ipc::name (ipc/protocol/*.h) travels as op `number`.
#define HANDHELD_PROTOCOL_OPS(X) \
  /* connection */ \
  X(Hello, 1) \
  /* registry */ \
  X(RegistryCreateKey, 10) \
  X(RegistryQuery, 11) \
  X(RegistrySet, 12) \
  X(RegistryEnumKey, 13) \
  X(RegistryEnumValue, 14) \
  X(RegistryDeleteValue, 15) \
  X(RegistryDeleteKey, 16) \
  X(RegistryExport, 17) \
  X(RegistryFlush, 18) \
  /* named objects */ \
  X(OpenNamedEvent, 30) \
  X(OpenNamedMapping, 31) \
  X(ReleaseObject, 32) \
  X(PulseNamedEvent, 33) \
  X(EventPulseOffer, 34) \
  X(EventPulseAnswer, 35) \
  /* processes */ \
  X(StartProcess, 40) \
  X(ProcessState, 41) \
  X(KillProcess, 42) \
  X(ProcessExiting, 43) \
  X(ListProcesses, 44) \
  X(WaitProcessExit, 45) \
  /* timed notifications */ \
  X(SetNotification, 50) \
  X(ClearNotification, 51) \
  X(ListNotifications, 52) \
  /* clock and device */ \
  X(ClockControl, 60) \
  X(ClockGet, 61) \
  X(DeviceStop, 62) \
  X(DeviceStatus, 63) \
  /* windows and messages */ \
  X(UserAttach, 100) \
  X(WindowAdd, 101) \
  X(WindowChange, 102) \
  X(WindowRemove, 103) \
  X(WindowArrange, 104) \
  X(WindowList, 105) \
  X(WindowFind, 106) \
  X(WindowAtPoint, 107) \
  X(ForegroundGet, 108) \
  X(ActivationNotice, 109) \
  X(CaptureSet, 110) \
  X(WindowDescribe, 111) \
  X(DescribeQuery, 112) \
  X(DescribeAnswer, 113) \
  X(MessageNameRegister, 114) \
  X(MessageSend, 120) \
  X(MessageSendDone, 121) \
  X(MessagePost, 122) \
  X(MessageDeliver, 123) \
  X(MessageResult, 124) \
  X(AutomationSend, 125) \
  X(PostsTaken, 130) \
  X(SurfaceAttach, 140) \
  X(SurfaceDamage, 141) \
  X(IdleQuery, 150) \
  X(IdleAnswer, 151) \
  X(WaitIdle, 152) \
  X(KeyStateSet, 160) \
  /* display and input */ \
  X(ScreenModeSet, 200) \
  X(ScreenCapture, 201) \
  X(ScreenPixel, 202) \
  X(StylusGesture, 203) \
  X(KeyAction, 204) \
  X(TypeText, 205) \
  X(InputDeliver, 206) \
  /* clipboard */ \
  X(ClipboardOpen, 300) \
  X(ClipboardClose, 301) \
  X(ClipboardEmpty, 302) \
  X(ClipboardPut, 303) \
  X(ClipboardTake, 304) \
  X(ClipboardState, 305) \
  /* input panel */ \
  X(InputPanelGet, 220) \
  X(InputPanelSet, 221) \
  X(InputPanelPrefer, 222) \
  /* shell */ \
  X(ShellWindowSet, 240) \
  X(ShellAttach, 241) \
  X(ShellForeground, 242) \
  X(HotKeyChange, 243) \
  X(HelpSend, 244) \
  X(HelpDeliver, 245) \
  /* debug output */ \
  X(DebugOutput, 280) \
  /* sound (210 on: 200-206 are the display's) */ \
  X(SoundPlay, 210) \
  X(SoundStop, 211) \
  X(SpeakerLogGet, 212) \
  X(MicChoose, 213) \
  X(MicRead, 214) \
  X(MicCancel, 215)

namespace handheld::ipc {

enum class Op : uint16_t {
#define HANDHELD_OP_ENUMERATOR(name, number) name = number,
  HANDHELD_PROTOCOL_OPS(HANDHELD_OP_ENUMERATOR)
#undef HANDHELD_OP_ENUMERATOR
};

// The operation's name as the table spells it; "unknown" for a number it does not have.
constexpr std::string_view opName(Op op) {
  switch (op) {
#define HANDHELD_OP_NAME(name, number) \
  case Op::name: return #name;
    HANDHELD_PROTOCOL_OPS(HANDHELD_OP_NAME)
#undef HANDHELD_OP_NAME
  }
  return "unknown";
}

// Each message struct says which way it travels with `static constexpr Direction direction`.
enum class Direction : uint8_t {
  Request,  // client to server, answered: the struct has Request and Reply
  Notice,   // client to server, never answered: the struct is the message
  Push,     // server to client, never answered (a question's answer comes back as a Notice)
};

template <class M>
concept Message = requires {
  { M::op } -> std::convertible_to<Op>;
  { M::direction } -> std::convertible_to<Direction>;
};
template <class M>
concept ClientRequest = Message<M> && (M::direction == Direction::Request) &&
                        HasFields<typename M::Request> && HasFields<typename M::Reply>;
template <class M>
concept ClientNotice = Message<M> && (M::direction == Direction::Notice) && HasFields<M>;
template <class M>
concept ServerPush = Message<M> && (M::direction == Direction::Push) && HasFields<M>;

}  // namespace handheld::ipc
