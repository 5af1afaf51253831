#include "registry/default_hive.h"

#include <stdexcept>

#include "registry/hive_format.h"

namespace handheld::device::registry {

// Hardware buttons: HKLM\SOFTWARE\Microsoft\Shell\Keys\<name>, one key per button, named by
// four upper-case hex digits: 0x40 (the shell's button prefix) followed by the button's
// virtual-key code, so VK_APP1 (0xC1) is "40C1". "Name" is what settings show; the default
// value is the program the button starts (empty: none), or one of the shell's own places,
// ":today" (the Today screen) and ":start" (the start menu). Button 1 shows Today, button 2
// the notes list (Pinnotes started without a command line), button 3 the start menu; the
// record button (0xC5) starts Pinnotes, which decides what a second start means.
//
// Start-up: HKLM\Init "Launch<n>" values, started in the order of n when the device starts.
//
// Today items: HKLM\SOFTWARE\Microsoft\Today\Items\<item>; "Date" is drawn by the shell.
// The Today screen's theme: HKLM\SOFTWARE\Microsoft\Today, colours as COLORREFs (0x00BBGGRR)
// and an optional "Watermark" bitmap.
//
// Documents: HKCR\<extension> names a class, HKCR\<class>\shell\open\command the program that
// opens it, "%1" standing for the document; programs take it unquoted as their whole command
// line. Help pages open in the help viewer as "file:" topics.
const std::string_view kDefaultHiveText = R"(Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\ControlPanel\Owner]
"Name"=""

[HKEY_LOCAL_MACHINE\Init]
"Launch50"="\\Windows\\shell.exe"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shell\Keys\40C1]
"Name"="Button 1"
@=":today"
"Flags"=dword:00000000

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shell\Keys\40C2]
"Name"="Button 2"
@="\\Program Files\\Pinnotes\\Pinnotes.exe"
"Flags"=dword:00000000

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shell\Keys\40C3]
"Name"="Button 3"
@=":start"
"Flags"=dword:00000000

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shell\Keys\40C4]
"Name"="Button 4"
@=""
"Flags"=dword:00000000

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shell\Keys\40C5]
"Name"="Button 5"
@="\\Program Files\\Pinnotes\\Pinnotes.exe"
"Flags"=dword:00000000

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Today]
"BackgroundColor"=dword:00ffffff
"TextColor"=dword:00000000
"HighlightColor"=dword:00904800
"HighlightTextColor"=dword:00ffffff

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Today\Items\Date]
"Type"=dword:00000000
"Enabled"=dword:00000001
"Order"=dword:00000000
"Options"=dword:00000000
"Flags"=dword:00000000

[HKEY_CLASSES_ROOT\.stk]
@="stkfile"

[HKEY_CLASSES_ROOT\stkfile\shell\open\command]
@="\"\\Program Files\\Pinnotes\\Pinnotes.exe\" %1"

[HKEY_CLASSES_ROOT\.htm]
@="htmlfile"

[HKEY_CLASSES_ROOT\.html]
@="htmlfile"

[HKEY_CLASSES_ROOT\htmlfile\shell\open\command]
@="\\Windows\\PegHelp.exe file:%1"

[HKEY_LOCAL_MACHINE\System\Device]
"DateOrder"=dword:00000001
"TimeFormat"=dword:00000001
"TimeZoneBias"=dword:00000000
"ProcessorName"="Handheld ARM"

; end of registry
)";

RegistryStore makeDefaultRegistry(const RegistryLimits& limits) {
  RegistryStore store(limits);
  if (auto error = parseHive(kDefaultHiveText, store)) {
    throw std::logic_error("the built-in default hive is invalid at line " +
                           std::to_string(error->line) + ": " + error->reason);
  }
  return store;
}

}  // namespace handheld::device::registry
