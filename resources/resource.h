/* Identifiers of the program's resources and of the controls in its dialog templates.
 * Shared by korvyn.rc and the C++ code, so plain #defines only. */
#ifndef KORVYN_RESOURCE_H
#define KORVYN_RESOURCE_H

#include "winstyles.h"

#define IDC_STATIC (-1)

/* The program's icon: the artwork the desktop's icon theme gets, at every size up to 256 */
#define IDR_MAINFRAME 128

/* Dialog templates: the main window and the network list page have one per screen shape */
#define IDD_MAIN_PORTRAIT 102
#define IDD_MAIN_LANDSCAPE 182
#define IDD_MAIN_SQUARE 183
#define IDD_SCANNER_PORTRAIT 148
#define IDD_SCANNER_LANDSCAPE 185
#define IDD_SCANNER_SQUARE 186
#define IDD_OPTIONS 149
#define IDD_CHANNELS_PORTRAIT 192
#define IDD_CHANNELS_LANDSCAPE 193
#define IDD_CHANNELS_SQUARE 194

/* Controls of the main window */
#define IDC_EXIT 1000
#define IDC_SUSPEND 1006
#define IDC_TAB 1009
#define IDC_LAMP 1029
#define IDC_SAVE 1032

/* Controls of the network list page */
#define IDC_LIST 1018
#define IDC_COUNT 1019
#define IDC_HINT 1020

/* Controls of the channels page */
#define IDC_BAND 1040
#define IDC_BEST 1041
#define IDC_CHANNEL_HINT 1042

/* Controls of the options page */
#define IDC_LANGUAGE 1003
#define IDC_ADAPTER 1004
#define IDC_SPEED_SLIDER 1010
#define IDC_FONT_SLIDER 1011
#define IDC_HIDE_PEERS 1013
#define IDC_HIDE_SECURED 1014
#define IDC_SOUND 1015
#define IDC_SPEED_NAME 1017
#define IDC_ADAPTER_LABEL 1021
#define IDC_SPEED_LABEL 1022
#define IDC_FONT_LABEL 1023
#define IDC_SAVE_CSV 1033
#define IDC_SAVE_XLS 1034

/* Menus and their commands */
#define IDR_ZOOM_MENU 160
#define IDR_LANGUAGE_MENU 175
#define ID_ZOOM 32771
#define ID_LANGUAGE_ENGLISH 32774
#define ID_LANGUAGE_FRENCH 32775
#define ID_LANGUAGE_HUNGARIAN 32776
#define ID_LANGUAGE_POLISH 32777
#define ID_LANGUAGE_PORTUGUESE 32779
#define ID_LANGUAGE_RUSSIAN 32780
#define ID_LANGUAGE_GERMAN 32781
#define ID_LANGUAGE_ENGLISH_UK 32782
#define ID_LANGUAGE_ENGLISH_USA 32783
#define ID_LANGUAGE_ENGLISH_CANADA 32784
#define ID_LANGUAGE_ENGLISH_AUSTRALIA 32785
#define ID_LANGUAGE_FRENCH_CANADA 32786
#define ID_LANGUAGE_ITALIAN 32787

/* Bitmaps of the sliders and the options page's check buttons */
#define IDB_SLIDER_CHANNEL 150
#define IDB_SLIDER_THUMB_PRESSED 151
#define IDB_SLIDER_THUMB 152
#define IDB_SECURED 153
#define IDB_SECURED_HIDDEN 154
#define IDB_SOUND_ON 155
#define IDB_SOUND_OFF 156
#define IDB_PEERS_HIDDEN 158
#define IDB_PEERS 159

/* Flags of the languages */
#define IDB_FLAG_PORTUGUESE 170
#define IDB_FLAG_FRENCH 171
#define IDB_FLAG_ENGLISH 172
#define IDB_FLAG_HUNGARIAN 173
#define IDB_FLAG_POLISH 174
#define IDB_FLAG_RUSSIAN 176
#define IDB_FLAG_GERMAN 177
#define IDB_FLAG_ENGLISH_UK 187
#define IDB_FLAG_ENGLISH_USA 188
#define IDB_FLAG_ENGLISH_CANADA 189
#define IDB_FLAG_ENGLISH_AUSTRALIA 190
#define IDB_FLAG_FRENCH_CANADA 191
#define IDB_FLAG_ITALIAN 217

/* The status lamp */
#define IDB_LAMP_OLIVE 210
#define IDB_LAMP_RED 211
#define IDB_LAMP_GREEN 214

/* The new-station sound, of resource type "WAVE" */
#define IDR_NEWSTATION_WAVE 157

/* String tables: text n of a language is the string base + n */
#define IDS_TEXT_COUNT 43
#define IDS_ENGLISH_BASE 2000
#define IDS_HUNGARIAN_BASE 2200
#define IDS_POLISH_BASE 2400
#define IDS_FRENCH_BASE 2600
#define IDS_PORTUGUESE_BASE 2800
#define IDS_RUSSIAN_BASE 3000
#define IDS_GERMAN_BASE 3200
#define IDS_ITALIAN_BASE 3500

#endif
