// The wire format and the packet channel, fed honest and hostile bytes.
#include <gtest/gtest.h>

#include <sys/eventfd.h>
#include <unistd.h>

#include "ipc/channel.h"
#include "ipc/protocol.h"

using namespace handheld::ipc;

namespace {

template <class T>
Bytes encoded(const T& message) {
  WireWriter w;
  encode(w, message);
  return w.bytes();
}

template <class T>
bool decodes(const Bytes& bytes, T& out) {
  return decode(bytes.data(), bytes.size(), nullptr, out);
}

}  // namespace

TEST(Wire, RoundTripsEveryFieldKind) {
  RegistrySet::Request in{0x80000002u, u"SOFTWARE\\Caf\u00e9\\\U0001F600", u"Name", 4, {1, 2, 3, 4}};
  RegistrySet::Request out;
  ASSERT_TRUE(decodes(encoded(in), out));
  EXPECT_EQ(out.root, in.root);
  EXPECT_EQ(out.path, in.path);
  EXPECT_EQ(out.name, in.name);
  EXPECT_EQ(out.data, in.data);

  ListProcesses::Reply list;
  list.processes = {{7, u"\\Windows\\a.exe", u"x y", true, 0}, {8, u"", u"", false, 300}};
  ListProcesses::Reply back;
  ASSERT_TRUE(decodes(encoded(list), back));
  ASSERT_EQ(back.processes.size(), 2u);
  EXPECT_EQ(back.processes[1].exitCode, 300u);
  EXPECT_FALSE(back.processes[1].running);
}

TEST(Wire, RefusesTruncatedLyingAndTrailingInput) {
  Bytes good = encoded(RegistryQuery::Request{1, u"path", u"name"});
  RegistryQuery::Request out;
  for (size_t cut = 0; cut < good.size(); ++cut) {
    Bytes shorter(good.begin(), good.begin() + static_cast<long>(cut));
    EXPECT_FALSE(decodes(shorter, out)) << "cut at " << cut;
  }
  Bytes trailing = good;
  trailing.push_back(0);
  EXPECT_FALSE(decodes(trailing, out));

  Bytes lying = good;
  lying[4] = 0xFF;  // the path claims far more characters than follow
  lying[5] = 0xFF;
  EXPECT_FALSE(decodes(lying, out));

  // A vector count beyond what the bytes can hold is refused before anything is reserved.
  Bytes hugeCount = {0xFF, 0xFF, 0xFF, 0x7F};
  ListProcesses::Reply list;
  EXPECT_FALSE(decodes(hugeCount, list));

  Bytes badBool = encoded(RegistryCreateKey::Request{1, u"", true});
  badBool.back() = 2;
  RegistryCreateKey::Request key;
  EXPECT_FALSE(decodes(badBool, key));
}

TEST(Wire, DescriptorIndexMustNameAReceivedDescriptor) {
  OpenNamedEvent::Reply reply;
  reply.event.fd = handheld::os::UniqueFd(eventfd(0, EFD_CLOEXEC));
  WireWriter w;
  encode(w, reply);
  ASSERT_EQ(w.fds().size(), 1u);
  std::vector<handheld::os::UniqueFd> none;
  OpenNamedEvent::Reply out;
  EXPECT_FALSE(decode(w.bytes().data(), w.bytes().size(), &none, out));
}

TEST(Channel, CarriesSmallAndLargePacketsWithDescriptors) {
  auto pair = socketPair();
  ASSERT_TRUE(pair);
  for (size_t size : {size_t{10}, kInlineLimit + 1000, size_t{3} * 1024 * 1024}) {
    RegistryExport::Reply big{0, std::string(size, 'x')};
    WireWriter w;
    encode(w, big);
    auto packet = buildPacket(static_cast<uint16_t>(Op::RegistryExport), kReply, 77, w);
    ASSERT_TRUE(packet);
    ASSERT_EQ(sendPacketBlocking(pair->first.get(), *packet), IoResult::Done);
    Packet got;
    ASSERT_EQ(receivePacketBlocking(pair->second.get(), got, 5000), IoResult::Done);
    EXPECT_EQ(got.serial, 77u);
    EXPECT_EQ(got.flags & kReply, kReply);
    RegistryExport::Reply back;
    ASSERT_TRUE(decode(got.body.data(), got.body.size(), &got.fds, back));
    EXPECT_EQ(back.text.size(), size);
  }

  OpenNamedMapping::Reply withFd;
  withFd.memory.fd = handheld::os::UniqueFd(eventfd(5, EFD_CLOEXEC));
  WireWriter w;
  encode(w, withFd);
  auto packet = buildPacket(1, 0, 1, w);
  ASSERT_TRUE(packet);
  ASSERT_EQ(sendPacketBlocking(pair->first.get(), *packet), IoResult::Done);
  Packet got;
  ASSERT_EQ(receivePacketBlocking(pair->second.get(), got, 5000), IoResult::Done);
  OpenNamedMapping::Reply back;
  ASSERT_TRUE(decode(got.body.data(), got.body.size(), &got.fds, back));
  uint64_t value = 0;
  ASSERT_EQ(read(back.memory.fd.get(), &value, sizeof value), 8);
  EXPECT_EQ(value, 5u);  // the very descriptor that was sent
}

TEST(Channel, RefusesShortPacketsAndReportsClosedPeer) {
  auto pair = socketPair();
  ASSERT_TRUE(pair);
  uint8_t three[3] = {1, 2, 3};
  ASSERT_EQ(write(pair->first.get(), three, 3), 3);
  Packet got;
  EXPECT_EQ(receivePacketBlocking(pair->second.get(), got, 5000), IoResult::Failed);
  pair->first.reset();
  EXPECT_EQ(receivePacketBlocking(pair->second.get(), got, 5000), IoResult::Closed);
}
