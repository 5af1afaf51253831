// Resource and control identifiers of the shell.
#pragma once

#define IDD_BUTTONS_PAGE 100
#define IDC_BUTTON_LIST 101
#define IDC_PROGRAM_LIST 102
