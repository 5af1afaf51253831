// The start menu: the installed programs, then Settings and Help, opened below the start
// button. A choice starts the program, opens the Settings sheet, or asks the program last in
// front for help.
#pragma once

namespace handheld::shell {

void openStartMenu();

}  // namespace handheld::shell
