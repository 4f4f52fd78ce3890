// Numbers of the program's pictures. The resource script (win32/resources)
// stores each picture under its number, and the main window's layout names
// them in its image and button components. Plain macros, because the
// resource compiler reads this file too.
#pragma once

// The program's icon (the lowest number, so the shell shows it for the file).
#define BRINDLOCK_ICON_MAIN 1

// The context-menu verbs' icons, also the glyphs of the big buttons.
#define BRINDLOCK_ICON_ENCRYPT 100
#define BRINDLOCK_ICON_DECRYPT 101
#define BRINDLOCK_ICON_OPEN 102
#define BRINDLOCK_ICON_ERASE 103

// Further glyphs and images of the window.
#define BRINDLOCK_ICON_PASSWORD 110
#define BRINDLOCK_GLYPH_CLEAR_SESSION 111
#define BRINDLOCK_GLYPH_SETTINGS 112
#define BRINDLOCK_GLYPH_TERMINATE 113

// The tray image list: image i is icon BRINDLOCK_TRAY_IMAGE_0 + i.
#define BRINDLOCK_TRAY_IMAGE_0 200
#define BRINDLOCK_TRAY_IMAGE_COUNT 11

// The marble tile that the window's background is tiled from.
#define BRINDLOCK_BITMAP_MARBLE 300
