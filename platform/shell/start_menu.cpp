#include "start_menu.h"

#include "installed_programs.h"
#include "shell.h"
#include "shellsvc/shell_metrics.h"

namespace handheld::shell {

namespace {

constexpr UINT kFirstProgram = 1000;
constexpr UINT kSettings = 1;
constexpr UINT kHelp = 2;

}  // namespace

void openStartMenu() {
  HWND bar = shellWindows().navigationBar;
  // Help goes to the program that was in front when the menu opened.
  HWND helpTarget = lastProgramWindow();
  const auto programs = installedPrograms();
  HMENU menu = CreatePopupMenu();
  if (!menu) return;
  for (size_t i = 0; i < programs.size(); ++i)
    AppendMenuW(menu, MF_STRING, kFirstProgram + i, programs[i].name.c_str());
  if (!programs.empty()) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kSettings, u"Settings");
  AppendMenuW(menu, MF_STRING | (helpTarget ? 0 : MF_GRAYED), kHelp, u"Help");
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, 0, shellsvc::barHeight(), bar, nullptr));
  DestroyMenu(menu);
  if (chosen == kSettings) openSettings();
  else if (chosen == kHelp && helpTarget) requestHelp(helpTarget);
  else if (chosen >= kFirstProgram && chosen - kFirstProgram < programs.size())
    startProgram(programs[chosen - kFirstProgram].path);
}

}  // namespace handheld::shell
