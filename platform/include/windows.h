// The platform API: include this one header.
#pragma once

#include "windef.h"
#include "winerror.h"
#include "winbase.h"
#include "winnls.h"
#include "winreg.h"
#include "wingdi.h"
#include "winuser.h"
#include "commdlg.h"
#include "shellapi.h"
#include "shlobj.h"
#include "pkfuncs.h"
#include "notify.h"
#include "mmsystem.h"
