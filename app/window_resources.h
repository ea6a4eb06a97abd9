#pragma once
// Bitmaps of the main window, in korvane.rc; the icon "MAINICON" goes by name.
#define BUTTON_ALL 5101
#define BUTTON_ID 5102
#define BUTTON_READ 5103
#define ARROW_PREVIOUS 5111
#define ARROW_NEXT 5112
