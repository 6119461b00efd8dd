#pragma once
// Window positions in the settings file, one section per window, as plain logic on a small
// struct: the window layer only copies a widget's geometry into a WindowPlacement and back.
//
// Keys of a section: "Maximize" and "Minimize" ("Yes" or "No"), "XPos" and "YPos" (only for a
// window that is neither maximized nor minimized), "Width" and "Height" (only when such a
// window is also resizable). Coordinates are whatever unit the window layer uses (pixels); the
// file only has to give back what was written.

#include "platform/settings_file.h"

#include <QStringView>

namespace shell {

struct WindowPlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool maximized = false;
    bool minimized = false;
    bool resizable = false;  // not stored: a property of the window
};

// The placement a window takes when it opens, given the placement it opened with:
// - unchanged, when "Maximize" holds neither "Yes" nor "No" (blanks around the value aside),
//   which includes a missing key, section or file;
// - otherwise normal size when the stored state is not maximized; x and y from "XPos" and
//   "YPos" and, for a resizable window, width and height from "Width" and "Height", each only
//   when stored as a whole number; maximized when the stored state is; minimized as "Minimize"
//   says ("Yes").
[[nodiscard]] WindowPlacement restorePlacement(const platform::SettingsFile& settings,
                                               QStringView section, WindowPlacement opened);
// The same on a document already read.
[[nodiscard]] WindowPlacement restorePlacement(const platform::IniDocument& doc,
                                               QStringView section, WindowPlacement opened);

// Writes the placement of a window that closes: "Maximize" and "Minimize" always; "XPos" and
// "YPos" when it is neither maximized nor minimized, "Width" and "Height" when it is also
// resizable; every number not written is removed. One locked read-modify-write; false when the
// file could not be written (the window closes all the same).
bool savePlacement(platform::SettingsFile& settings, QStringView section,
                   const WindowPlacement& placement);
void savePlacement(platform::IniDocument& doc, QStringView section,
                   const WindowPlacement& placement);

// The company list's header sort, kept in section "Definities" under "SortHeader_12" as the
// browser writes it (for example "-BED:AANMAAKDATUM,BED:NAAM"). Empty when nothing is stored.
[[nodiscard]] QString readSortHeader(const platform::SettingsFile& settings);
bool writeSortHeader(platform::SettingsFile& settings, QStringView sortHeader);

}  // namespace shell
