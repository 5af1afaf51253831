// Ids shared by the test program's script and its tests.
#pragma once

#define IDS_APP_NAME 1
#define IDS_GREETING 2
#define IDS_SECOND_BLOCK 17
#define IDS_FAR 1000
#define IDS_MISSING_IN_BLOCK 3

#define IDB_LOGO 200
#define IDI_APP 300
#define IDR_BLOB 400
#define IDR_WORDS 401
#define IDR_CEUX 1

#define IDD_OPTIONS 500
#define IDD_SIMPLE 501
#define IDC_NAME 1001
#define IDC_NOTES 1002
#define IDC_SHOW (IDC_NAME + 10)
#define IDC_KIND 1020
#define IDC_ICON 1030

#define IDM_MAIN 600
#define IDM_NEW 601
#define IDM_OPEN 602
#define IDM_RECENT_1 610
#define IDM_EXIT 620
#define IDM_TOOLS 630
