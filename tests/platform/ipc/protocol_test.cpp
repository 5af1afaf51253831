// The protocol's op table and message directions: the numbers on the wire stay what they
// were, each message travels one way only, and the client's and server's templates take a
// message only in its own direction.
#include <gtest/gtest.h>

#include <set>
#include <string_view>

#include "connection.h"
#include "ipc/client.h"
#include "ipc/protocol.h"
#include "server.h"

using namespace handheld::ipc;
using handheld::device::Connection;
using handheld::device::Server;

namespace {

// What each side will take, asked without compiling a misuse.
template <class M>
concept ClientCalls = requires(DeviceClient& client) { client.call<M>({}); };
template <class M>
concept ClientSends = requires(DeviceClient& client, const M& message) { client.notify(message); };
template <class M>
concept ClientListens = requires(DeviceClient& client) { client.onPush<M>(nullptr); };
template <class M>
concept ServerAnswers = requires(Server& server) { server.onRequest<M>(0); };
template <class M>
concept ServerHears = requires(Server& server) { server.onEvent<M>(0); };
template <class M>
concept ServerPushes = requires(Connection& c, const M& message) { c.push(message); };

static_assert(ClientCalls<ClockGet> && ServerAnswers<ClockGet>);
static_assert(!ClientSends<ClockGet> && !ClientListens<ClockGet> && !ServerHears<ClockGet>);
static_assert(ClientSends<ReleaseObject> && ServerHears<ReleaseObject>);
static_assert(!ClientCalls<ReleaseObject> && !ClientListens<ReleaseObject> && !ServerPushes<ReleaseObject>);
static_assert(ClientListens<IdleQuery> && ServerPushes<IdleQuery>);
static_assert(!ClientSends<IdleQuery> && !ClientCalls<IdleQuery> && !ServerHears<IdleQuery>);

// The brace count sees every kind of member the wire carries.
struct EveryKind {
  uint8_t small = 0;
  bool flag = false;
  ClientKind kind = ClientKind::Process;
  std::u16string text;
  std::string bytesText;
  Bytes bytes;
  Fd fd;
  std::vector<WindowRecord> records;
  WireTime nested;
  HANDHELD_FIELDS(small, flag, kind, text, bytesText, bytes, fd, records, nested)
};
struct OneLeftOut {
  uint32_t kept = 0;
  std::u16string forgotten;
  HANDHELD_FIELDS(kept)
};
struct Empty {
  HANDHELD_NO_FIELDS
};
static_assert(detail::memberCount<EveryKind>() == 9);
static_assert(detail::memberCount<WindowRecord>() == 20);
static_assert(detail::memberCount<WireTime>() == 8);
static_assert(detail::memberCount<Empty>() == 0);
static_assert(FieldsComplete<EveryKind> && FieldsComplete<Empty>);
static_assert(!FieldsComplete<OneLeftOut>);

struct Row {
  Op op;
  uint16_t number;
  std::string_view name;
  Direction direction;
};

constexpr Direction kRequest = Direction::Request, kNotice = Direction::Notice, kPush = Direction::Push;

// Every operation with the number it has always had on the wire.
const Row kRows[] = {
    {Op::Hello, 1, "Hello", kRequest},
    {Op::RegistryCreateKey, 10, "RegistryCreateKey", kRequest},
    {Op::RegistryQuery, 11, "RegistryQuery", kRequest},
    {Op::RegistrySet, 12, "RegistrySet", kRequest},
    {Op::RegistryEnumKey, 13, "RegistryEnumKey", kRequest},
    {Op::RegistryEnumValue, 14, "RegistryEnumValue", kRequest},
    {Op::RegistryDeleteValue, 15, "RegistryDeleteValue", kRequest},
    {Op::RegistryDeleteKey, 16, "RegistryDeleteKey", kRequest},
    {Op::RegistryExport, 17, "RegistryExport", kRequest},
    {Op::RegistryFlush, 18, "RegistryFlush", kRequest},
    {Op::OpenNamedEvent, 30, "OpenNamedEvent", kRequest},
    {Op::OpenNamedMapping, 31, "OpenNamedMapping", kRequest},
    {Op::ReleaseObject, 32, "ReleaseObject", kNotice},
    {Op::PulseNamedEvent, 33, "PulseNamedEvent", kRequest},
    {Op::EventPulseOffer, 34, "EventPulseOffer", kPush},
    {Op::EventPulseAnswer, 35, "EventPulseAnswer", kNotice},
    {Op::StartProcess, 40, "StartProcess", kRequest},
    {Op::ProcessState, 41, "ProcessState", kRequest},
    {Op::KillProcess, 42, "KillProcess", kRequest},
    {Op::ProcessExiting, 43, "ProcessExiting", kNotice},
    {Op::ListProcesses, 44, "ListProcesses", kRequest},
    {Op::WaitProcessExit, 45, "WaitProcessExit", kRequest},
    {Op::SetNotification, 50, "SetNotification", kRequest},
    {Op::ClearNotification, 51, "ClearNotification", kRequest},
    {Op::ListNotifications, 52, "ListNotifications", kRequest},
    {Op::ClockControl, 60, "ClockControl", kRequest},
    {Op::ClockGet, 61, "ClockGet", kRequest},
    {Op::DeviceStop, 62, "DeviceStop", kRequest},
    {Op::DeviceStatus, 63, "DeviceStatus", kRequest},
    {Op::UserAttach, 100, "UserAttach", kNotice},
    {Op::WindowAdd, 101, "WindowAdd", kRequest},
    {Op::WindowChange, 102, "WindowChange", kRequest},
    {Op::WindowRemove, 103, "WindowRemove", kRequest},
    {Op::WindowArrange, 104, "WindowArrange", kRequest},
    {Op::WindowList, 105, "WindowList", kRequest},
    {Op::WindowFind, 106, "WindowFind", kRequest},
    {Op::WindowAtPoint, 107, "WindowAtPoint", kRequest},
    {Op::ForegroundGet, 108, "ForegroundGet", kRequest},
    {Op::ActivationNotice, 109, "ActivationNotice", kPush},
    {Op::CaptureSet, 110, "CaptureSet", kNotice},
    {Op::WindowDescribe, 111, "WindowDescribe", kRequest},
    {Op::DescribeQuery, 112, "DescribeQuery", kPush},
    {Op::DescribeAnswer, 113, "DescribeAnswer", kNotice},
    {Op::MessageNameRegister, 114, "MessageNameRegister", kRequest},
    {Op::MessageSend, 120, "MessageSend", kNotice},
    {Op::MessageSendDone, 121, "MessageSendDone", kPush},
    {Op::MessagePost, 122, "MessagePost", kRequest},
    {Op::MessageDeliver, 123, "MessageDeliver", kPush},
    {Op::MessageResult, 124, "MessageResult", kNotice},
    {Op::AutomationSend, 125, "AutomationSend", kRequest},
    {Op::PostsTaken, 130, "PostsTaken", kNotice},
    {Op::SurfaceAttach, 140, "SurfaceAttach", kNotice},
    {Op::SurfaceDamage, 141, "SurfaceDamage", kNotice},
    {Op::IdleQuery, 150, "IdleQuery", kPush},
    {Op::IdleAnswer, 151, "IdleAnswer", kNotice},
    {Op::WaitIdle, 152, "WaitIdle", kRequest},
    {Op::KeyStateSet, 160, "KeyStateSet", kRequest},
    {Op::ScreenModeSet, 200, "ScreenModeSet", kRequest},
    {Op::ScreenCapture, 201, "ScreenCapture", kRequest},
    {Op::ScreenPixel, 202, "ScreenPixel", kRequest},
    {Op::StylusGesture, 203, "StylusGesture", kRequest},
    {Op::KeyAction, 204, "KeyAction", kRequest},
    {Op::TypeText, 205, "TypeText", kRequest},
    {Op::InputDeliver, 206, "InputDeliver", kPush},
    {Op::ClipboardOpen, 300, "ClipboardOpen", kRequest},
    {Op::ClipboardClose, 301, "ClipboardClose", kRequest},
    {Op::ClipboardEmpty, 302, "ClipboardEmpty", kRequest},
    {Op::ClipboardPut, 303, "ClipboardPut", kRequest},
    {Op::ClipboardTake, 304, "ClipboardTake", kRequest},
    {Op::ClipboardState, 305, "ClipboardState", kRequest},
    {Op::SoundPlay, 210, "SoundPlay", kRequest},
    {Op::SoundStop, 211, "SoundStop", kRequest},
    {Op::SpeakerLogGet, 212, "SpeakerLogGet", kRequest},
    {Op::MicChoose, 213, "MicChoose", kRequest},
    {Op::MicRead, 214, "MicRead", kRequest},
    {Op::MicCancel, 215, "MicCancel", kRequest},
};

struct Listed {
  Op op;
  Direction direction;
};
template <class... M>
std::vector<Listed> listed(MessageList<M...>) {
  return {Listed{M::op, M::direction}...};
}

TEST(Protocol, EveryOperationKeepsItsNumberNameAndDirection) {
  const auto messages = listed(AllMessages{});
  ASSERT_EQ(messages.size(), 76u);
  ASSERT_EQ(std::size(kRows), 76u);
  for (size_t i = 0; i < messages.size(); ++i) {
    const Row& row = kRows[i];
    SCOPED_TRACE(row.name);
    EXPECT_EQ(static_cast<uint16_t>(row.op), row.number);
    EXPECT_EQ(opName(row.op), row.name);
    EXPECT_EQ(messages[i].op, row.op);
    EXPECT_EQ(messages[i].direction, row.direction);
  }
  EXPECT_EQ(opName(static_cast<Op>(2)), "unknown");
  EXPECT_EQ(opName(static_cast<Op>(0xFFFF)), "unknown");
}

}  // namespace
