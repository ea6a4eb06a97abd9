#pragma once
// Bitmaps of the chip selection and the property dialog, in dialogs.rc. The
// numbers sit apart from the main window's resources: both .rc files go into
// the same program.
#define PROPERTIES_CLOSE 5301
#define PROPERTIES_IMPORT 5302
#define PROPERTIES_EXPORT 5303
#define PROPERTIES_OK 5304
#define PROPERTIES_SELECT 5305
#define CHIP_SELECT_FIND 5311
