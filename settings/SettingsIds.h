/* Resource and control ids of the settings dialog, shared by its template, its code and its tests. */
#pragma once
#define IDD_SETTINGS 100
#define IDC_RESERVE_WHEN_LOW 1001
#define IDC_RESERVE_THRESHOLD 1002
#define IDC_ASK_WHEN_LOW 1003
#define IDC_ASK_THRESHOLD 1004
#define IDC_PERIODIC 1005
#define IDC_PERIOD 1006
#define IDC_USE_HOT_KEY 1007
#define IDC_HOT_KEY 1008
#define IDC_TOTAL_MEMORY 1009
#define IDC_MESSAGE 1010
#define IDC_AUTO_START 1011
#define IDC_WAIT_WHILE_BUSY 1012
#define IDC_NOTIFY_RESULT 1013
#define IDC_LAST_RESERVATION 1014
/* The labels and group boxes, whose captions the dialog sets from its texts. */
#define IDC_LOW_MEMORY_GROUP 1015
#define IDC_RESERVE_THRESHOLD_BEFORE 1016
#define IDC_RESERVE_THRESHOLD_AFTER 1017
#define IDC_ASK_THRESHOLD_BEFORE 1018
#define IDC_ASK_THRESHOLD_AFTER 1019
#define IDC_PERIODIC_GROUP 1020
#define IDC_PERIOD_UNIT 1021
#define IDC_HOT_KEY_GROUP 1022
#define IDC_TRAY_FIGURE 1025
#define IDC_LANGUAGE_LABEL 1023
#define IDC_LANGUAGE 1024
/* The target of free memory for automatic runs, with its two captions. */
#define IDC_TARGET_FREE 1040
#define IDC_TARGET_FREE_BEFORE 1041
#define IDC_TARGET_FREE_AFTER 1042
/* The buttons, with the system's IDOK and IDCANCEL (SettingsDialog.cpp ties them to those names). */
#define IDC_OK 1
#define IDC_CANCEL 2
