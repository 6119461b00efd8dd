#pragma once
// Every window's identifier (put in front of its title), the section of the settings file that
// keeps its position, and its help keyword.

#include <QString>
#include <QStringView>
#include <array>

namespace shell {

inline const QString kHelpFile = QStringLiteral("V-Wolkan-Vaduvevedu.hlp");

struct WindowInfo {
    QStringView id;           // empty: the window carries no identifier
    QStringView section;      // its section in the settings file
    QStringView helpKeyword;  // empty: no help keyword
};

namespace windows {
inline constexpr WindowInfo kMain{u"SV0", u"Main", u""};
inline constexpr WindowInfo kAbout{u"SV01", u"AboutQuickWolkan", u"GS1"};
inline constexpr WindowInfo kDefinities{u"SV02", u"Definities", u"BrowseBedrijven"};
inline constexpr WindowInfo kUpdateBedrijven{u"SV03", u"UpdateBedrijven", u"UpdateBedrijven"};
inline constexpr WindowInfo kUpdateBronnen{u"SV04", u"UpdateBronnen", u"UpdateBronnen"};
inline constexpr WindowInfo kUpdateGeurGevLoc{u"SV05", u"UpdateGeurGevLoc", u"UpdateGeurGevLoc"};
inline constexpr WindowInfo kCopyBedrijf{u"", u"CopyBedrijf", u"KopieerBedrijven"};
inline constexpr WindowInfo kBerekenen{u"SV06", u"Berekenen", u"QS7"};
inline constexpr WindowInfo kSaveResults{u"SV07", u"SaveResults", u"QS71"};
inline constexpr WindowInfo kBekijken{u"SV08", u"Bekijken", u"QS7"};

inline constexpr std::array<WindowInfo, 10> kAll{
    kMain,        kAbout,     kDefinities,  kUpdateBedrijven, kUpdateBronnen, kUpdateGeurGevLoc,
    kCopyBedrijf, kBerekenen, kSaveResults, kBekijken};
}  // namespace windows

// The title a window shows: `title` itself when it already begins with `id` (or there is no
// id), otherwise id + " - " + title. "V-Wolkan-Dazevovirovu V-2010.1" with "SV0" becomes
// "SV0 - V-Wolkan-Dazevovirovu V-2010.1".
[[nodiscard]] QString windowTitle(QStringView id, QStringView title);

// The settings section in which the definitions browser keeps the company list's header sort.
inline constexpr QStringView kSortHeaderSection = u"Definities";
// Its key: "SortHeader_" followed by the company list's control number.
inline constexpr QStringView kSortHeaderKey = u"SortHeader_12";

}  // namespace shell
