// speaker-log, mic
#include <cstdio>
#include <fstream>

#include "commands.h"

namespace handheld::ctl {

namespace {
// As much as the device would take in one request.
constexpr std::streamsize kMostFileBytes = 32 * 1024 * 1024;
}  // namespace

int runSpeakerLog(Context& c, const Args& args) {
  if (!args.empty()) return fail("usage: speaker-log", 2);
  auto reply = c.device().call<ipc::SpeakerLogGet>({});
  if (!reply) return fail("the device did not answer");
  std::fputs(reply->lines.c_str(), stdout);
  return 0;
}

int runMic(Context& c, const Args& args) {
  ipc::MicChoose::Request request;
  if (args.size() == 1 && args[0] == "silence") {
    request.kind = ipc::MicSourceKind::Silence;
  } else if (args.size() == 2 && args[0] == "tone") {
    auto hz = parseNumber(args[1]);
    if (!hz || *hz < 1 || *hz > 20000) return fail("a tone is 1 to 20000 Hz", 2);
    request.kind = ipc::MicSourceKind::Tone;
    request.toneHz = static_cast<uint32_t>(*hz);
  } else if (args.size() == 1) {
    std::ifstream file(args[0], std::ios::binary);
    if (!file) return fail("cannot read " + args[0]);
    request.kind = ipc::MicSourceKind::Wave;
    request.name = args[0];
    request.wave.resize(static_cast<size_t>(kMostFileBytes));
    file.read(reinterpret_cast<char*>(request.wave.data()), kMostFileBytes);
    request.wave.resize(static_cast<size_t>(file.gcount()));
  } else {
    return fail("usage: mic FILE.wav|tone HZ|silence", 2);
  }
  auto reply = c.device().call<ipc::MicChoose>(request);
  if (!reply) return fail("the device did not answer");
  if (reply->error) return refused(reply->error, reply->reason);
  return 0;
}

}  // namespace handheld::ctl
