// PlaySoundW and sndPlaySoundW: the sound goes to the device's speaker, which keeps one sound
// per process; a synchronous play returns when the device says the sound has ended.
#include <mmsystem.h>
#include <windows.h>

#include "ipc/client.h"
#include "sound/sound_image.h"

namespace {

using handheld::ipc::DeviceClient;

BOOL play(LPCWSTR sound, DWORD flags) {
  auto& device = DeviceClient::get();
  if (!sound) {
    device.call<handheld::ipc::SoundStop>({});
    return TRUE;
  }
  if ((flags & SND_LOOP) && !(flags & SND_ASYNC)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  handheld::ipc::SoundPlay::Request request;
  if (!(flags & SND_ASYNC)) request.flags |= handheld::ipc::kSoundWait;
  if (flags & SND_LOOP) request.flags |= handheld::ipc::kSoundLoop;
  if (flags & SND_NOSTOP) request.flags |= handheld::ipc::kSoundNoStop;
  if (flags & SND_NODEFAULT) request.flags |= handheld::ipc::kSoundNoDefault;
  if ((flags & SND_RESOURCE) == SND_RESOURCE) {
    request.source = u"resource";
    request.readError = ERROR_RESOURCE_NAME_NOT_FOUND;  // sounds are not resources here
  } else if (flags & SND_MEMORY) {
    request.wave = handheld::sound::copyImage(sound);
  } else {
    // A name of a system sound (SND_ALIAS) is no file the device has.
    request.source = sound;
    request.readError = (flags & SND_ALIAS) ? static_cast<DWORD>(ERROR_FILE_NOT_FOUND)
                                            : handheld::sound::readSoundFile(sound, request.wave);
  }
  auto reply = device.call<handheld::ipc::SoundPlay>(request);
  if (!reply) {
    SetLastError(ERROR_GEN_FAILURE);
    return FALSE;
  }
  if (reply->error) {
    SetLastError(reply->error);
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HANDHELD_API BOOL WINAPI PlaySoundW(LPCWSTR sound, HMODULE, DWORD flags) { return play(sound, flags); }

HANDHELD_API BOOL WINAPI sndPlaySoundW(LPCWSTR sound, UINT flags) { return play(sound, flags); }

// The speaker is the one output device.
HANDHELD_API UINT WINAPI waveOutGetNumDevs(void) { return 1; }
