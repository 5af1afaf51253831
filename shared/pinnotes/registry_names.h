// Registry keys and value names of Pinnotes (all under HKEY_LOCAL_MACHINE).
#pragma once

namespace RegistryNames {

inline constexpr char16_t kSettingsKey[] = u"SOFTWARE\\VORLA\\Pinnotes";

// Written by the program, read by the Today item.
inline constexpr char16_t kNotesFolder[] = u"Pinnotes";
inline constexpr char16_t kProgramPath[] = u"Path";

inline constexpr char16_t kSound[] = u"Snd";
inline constexpr char16_t kSoundCount[] = u"SndCount";
inline constexpr char16_t kDontPlay[] = u"DontPlay";
inline constexpr char16_t kPlayRecording[] = u"PlayRec";
inline constexpr char16_t kPlaySound[] = u"PlaySnd";
inline constexpr char16_t kTurnOn[] = u"TurnOn";
inline constexpr char16_t kNotify[] = u"Notify";
inline constexpr char16_t kMenuCount[] = u"MenuCount";
inline constexpr char16_t kFontSize[] = u"FontSize";
inline constexpr char16_t kLockPos[] = u"LockPos";
inline constexpr char16_t kPosX[] = u"PosX";
inline constexpr char16_t kPosY[] = u"PosY";
inline constexpr char16_t kRecordButton[] = u"RecBtn";
inline constexpr char16_t kAutoDelete[] = u"AutoDel";
inline constexpr char16_t kTitlesCount[] = u"TitlesCount";
inline constexpr char16_t kMode[] = u"Mode";
inline constexpr char16_t kPage[] = u"Page";
inline constexpr char16_t kZoom[] = u"Zoom";
inline constexpr char16_t kTodayShowToday[] = u"TodayShowToday";
inline constexpr char16_t kTodayExpired[] = u"TodayExpired";
inline constexpr char16_t kTodayFontSize[] = u"TodayFontSize";
inline constexpr char16_t kTodayCount[] = u"TodayCount";

// The Today item's registration with the shell. The program creates it with the leading
// backslash and reads "Enabled" without it; both name the same key.
inline constexpr char16_t kTodayItemKeyForCreate[] = u"\\SOFTWARE\\Microsoft\\Today\\Items\\VORLA Pinnotes";
inline constexpr char16_t kTodayItemKey[] = u"SOFTWARE\\Microsoft\\Today\\Items\\VORLA Pinnotes";
inline constexpr char16_t kTodayLibrary[] = u"DLL";
inline constexpr char16_t kTodayFlags[] = u"Flags";
inline constexpr char16_t kTodayOptions[] = u"Options";
inline constexpr char16_t kTodayEnabled[] = u"Enabled";
inline constexpr char16_t kTodayOrder[] = u"Order";
inline constexpr char16_t kTodayType[] = u"Type";

// The shell's hardware-button table: one subkey per button with its "Name".
inline constexpr char16_t kShellKeysKey[] = u"SOFTWARE\\Microsoft\\Shell\\Keys";
inline constexpr char16_t kShellKeyName[] = u"Name";

}  // namespace RegistryNames
