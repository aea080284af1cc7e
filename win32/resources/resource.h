// Resource identifiers of the server's dialogs.
#pragma once

#define IDR_TYPELIB 1
#define IDR_MANIFEST 1

#define IDD_FRMWYBOR 100
#define IDC_WYBOR_LABEL1 101
#define IDC_WYBOR_LIST1 102
// Command1 of the package dialog is IDOK, so Enter presses it.

#define IDD_FORM1 200
#define IDC_TXTKOLOR 201
#define IDC_TXTCOLORB 202
#define IDC_FRAME1 203
#define IDC_COMBO1 204
#define IDC_LABEL1 205
#define IDC_CMDANULUJ 206
#define IDC_FRAME2 207
#define IDC_LBLCOLOR 208
#define IDC_LABEL2 209
#define IDC_LABEL3 210
#define IDC_IMGCOMBOST 211
#define IDC_IMGCOMBOGR 212
#define IDC_LABEL4 213
// Command1 ("&Anuluj") is IDCANCEL, so Esc presses it.
#define IDC_CHKODSWIEZ 214
#define IDC_CMDCHANGE 215
