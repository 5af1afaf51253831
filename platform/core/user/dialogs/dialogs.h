// The dialog manager inside libhandheld: the "#32770" class, building a dialog from a
// decoded template, and moving the focus the way dialogs do.
#pragma once

#include <windows.h>

#include "resources/templates.h"

namespace handheld::user::dialogs {

// The system class "#32770" (WC_DIALOG), whose procedure is DefDlgProcW.
WNDCLASSW dialogClass();

// Creates the dialog and its controls, sends WM_INITDIALOG and applies its focus rule. A
// modal dialog stays hidden for the modal loop to show; a modeless one shows when its
// template says WS_VISIBLE. Null when a window cannot be made.
HWND createDialog(HINSTANCE instance, const resources::DialogTemplate& dialogTemplate, HWND owner,
                  DLGPROC procedure, LPARAM initParam, bool modal);
// Shows a modal dialog made by createDialog and runs its loop until EndDialog (its result)
// or until the dialog is gone (0). A WM_QUIT ends the loop and is left in the queue for the
// program's own loop. The dialog is destroyed when this returns.
INT_PTR runModal(HWND dialog);
// Decodes a template the caller passes in memory (no size comes with it).
std::optional<resources::DialogTemplate> decodeIndirect(LPCDLGTEMPLATEW dialogTemplate);

// Focus to a control of the dialog; a push button that takes it shows as the default, and
// the dialog's default button again when a control that is no button takes it.
void setDialogFocus(HWND dialog, HWND control);
// The child answering WM_GETDLGCODE with these bits.
UINT dialogCode(HWND control, const MSG* message = nullptr);

}  // namespace handheld::user::dialogs
