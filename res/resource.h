// Identifiers of the resources and controls, shared by the resource script and the code.
#ifndef TESSIVAL_RESOURCE_H
#define TESSIVAL_RESOURCE_H

#define IDD_LOOKUP 101
#define IDI_APP 108

#define IDC_CODE 1001
#define IDC_TOPMOST 1002
#define IDC_FADE 1003
#define IDC_FIND 1004
#define IDC_MESSAGE 1005
#define IDC_NUMBERS 1006
// winuser.h names a cursor IDC_PIN; the control's identifier takes its place.
#ifdef IDC_PIN
#undef IDC_PIN
#endif
#define IDC_PIN 1007

#define IDM_ABOUT 0x1001

#endif
