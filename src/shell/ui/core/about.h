#pragma once
// The texts of the About window and its layout in dialog units (x, y, width, height).

#include <QString>

namespace ui::about {

inline const QString kTitle = QStringLiteral("Over V_Wolkan Vaduvevedu");
inline constexpr int kWidth = 258;
inline constexpr int kHeight = 100;

inline const QString kProduct = QStringLiteral("V Wolkan Vaduvevedu");
inline const QString kVersion = QStringLiteral("Versie 2010.1");
// The maker, shown in its logo.
inline const QString kMaker = QStringLiteral("Nevelhoek Rekenwerk");
// The ministry that commissioned the program, over two lines.
inline const QString kMinistryLine1 =
    QStringLiteral("Gemaakt in opdracht van het ministerie van Land, Lucht");
inline const QString kMinistryLine2 = QStringLiteral("en Leefomgeving (LLL)");
inline const QString kMinistryAbbreviation = QStringLiteral("LLL");

struct Box {
    int x, y, w, h;
};
inline constexpr Box kMakerLogo{2, 0, 108, 37};
inline constexpr Box kProductText{119, 3, 140, 22};
inline constexpr Box kVersionText{116, 24, 137, 15};
inline constexpr Box kMinistryText1{16, 48, 242, 9};
inline constexpr Box kMinistryText2{16, 57, 242, 9};
inline constexpr Box kMinistryLogo{95, 69, 75, 17};
inline constexpr int kProductPoints = 22;  // Arial
inline constexpr int kVersionPoints = 18;  // Arial
// The ministry's logo is a picture of 133 by 20 pixels.
inline constexpr int kMinistryLogoPixelsW = 133;
inline constexpr int kMinistryLogoPixelsH = 20;

}  // namespace ui::about
