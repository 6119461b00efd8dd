#include "shell/window_placement.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <ostream>
#include <string>

using platform::IniDocument;
using shell::WindowPlacement;
using namespace shell_test;

namespace {

bool same(const WindowPlacement& a, const WindowPlacement& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height &&
           a.maximized == b.maximized && a.minimized == b.minimized && a.resizable == b.resizable;
}

std::string describe(const WindowPlacement& p) {
    return "{" + std::to_string(p.x) + "," + std::to_string(p.y) + "," + std::to_string(p.width) +
           "x" + std::to_string(p.height) + (p.maximized ? " max" : "") +
           (p.minimized ? " min" : "") + (p.resizable ? " resizable" : "") + "}";
}

// The window as designed: at (100, 50), 400 by 300.
constexpr WindowPlacement kDesigned{100, 50, 400, 300, false, false, true};
constexpr WindowPlacement kDesignedFixed{100, 50, 400, 300, false, false, false};
constexpr WindowPlacement kOpenedMaximized{100, 50, 400, 300, true, false, true};

struct RestoreCase {
    const char* name;
    const char* section;  // the lines of section [W]
    WindowPlacement opened;
    WindowPlacement expected;
};

void PrintTo(const RestoreCase& c, std::ostream* os) {
    *os << c.name;
}

const RestoreCase kRestoreCases[] = {
    {"empty_section", "", kDesigned, kDesigned},
    {"no_maximize_key", "XPos=1\nYPos=2\n", kDesigned, kDesigned},
    {"maximize_neither_yes_nor_no", "Maximize=Maybe\nXPos=1\nYPos=2\n", kDesigned, kDesigned},
    {"maximize_other_case_is_neither", "Maximize=yes\nXPos=1\n", kDesigned, kDesigned},
    {"maximize_empty", "Maximize=\nXPos=1\n", kDesigned, kDesigned},
    {"position_and_size",
     "Maximize=No\nMinimize=No\nXPos=1\nYPos=2\nWidth=640\nHeight=480\n",
     kDesigned,
     {1, 2, 640, 480, false, false, true}},
    {"trailing_blanks_aside",
     "Maximize=No   \nXPos=1\nYPos=2\n",
     kDesigned,
     {1, 2, 400, 300, false, false, true}},
    {"size_ignored_when_not_resizable",
     "Maximize=No\nXPos=1\nYPos=2\nWidth=640\nHeight=480\n",
     kDesignedFixed,
     {1, 2, 400, 300, false, false, false}},
    {"missing_numbers_keep_design",
     "Maximize=No\nYPos=2\nWidth=640\n",
     kDesigned,
     {100, 2, 640, 300, false, false, true}},
    {"unreadable_number_keeps_design",
     "Maximize=No\nXPos=links\nYPos=2\n",
     kDesigned,
     {100, 2, 400, 300, false, false, true}},
    {"negative_position",
     "Maximize=No\nXPos=-1200\nYPos=-5\n",
     kDesigned,
     {-1200, -5, 400, 300, false, false, true}},
    {"opened_maximized_made_normal",
     "Maximize=No\nXPos=1\nYPos=2\n",
     kOpenedMaximized,
     {1, 2, 400, 300, false, false, true}},
    {"stored_maximized",
     "Maximize=Yes\nMinimize=No\n",
     kDesigned,
     {100, 50, 400, 300, true, false, true}},
    {"stored_maximized_opened_maximized", "Maximize=Yes\n", kOpenedMaximized, kOpenedMaximized},
    {"stored_minimized",
     "Maximize=No\nMinimize=Yes\n",
     kDesigned,
     {100, 50, 400, 300, false, true, true}},
    {"minimize_other_text_not_minimized",
     "Maximize=No\nMinimize=Ja\n",
     {100, 50, 400, 300, false, true, true},
     kDesigned},
};

class Restore : public testing::TestWithParam<RestoreCase> {};

TEST_P(Restore, TakesStoredPlacement) {
    const RestoreCase& c = GetParam();
    const QByteArray text = QByteArray("[Other]\nMaximize=Yes\nXPos=9\n[W]\n") + c.section;
    const WindowPlacement got =
        shell::restorePlacement(IniDocument::fromBytes(text), u"W", c.opened);
    EXPECT_TRUE(same(got, c.expected)) << describe(got) << " expected " << describe(c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, Restore, testing::ValuesIn(kRestoreCases),
                         [](const testing::TestParamInfo<RestoreCase>& param) {
                             return std::string(param.param.name);
                         });

struct SaveCase {
    const char* name;
    WindowPlacement closing;
    const char* expected;  // the whole document afterwards
};

void PrintTo(const SaveCase& c, std::ostream* os) {
    *os << c.name;
}

// Every save starts from a section that holds all six keys from an earlier session.
const SaveCase kSaveCases[] = {
    {"normal_resizable",
     {1, 2, 640, 480, false, false, true},
     "[W]\r\nMaximize=No\r\nMinimize=No\r\nXPos=1\r\nYPos=2\r\nWidth=640\r\nHeight=480\r\n"},
    {"normal_fixed_size",
     {1, 2, 640, 480, false, false, false},
     "[W]\r\nMaximize=No\r\nMinimize=No\r\nXPos=1\r\nYPos=2\r\n"},
    {"maximized_loses_position",
     {1, 2, 640, 480, true, false, true},
     "[W]\r\nMaximize=Yes\r\nMinimize=No\r\n"},
    {"minimized_loses_position",
     {1, 2, 640, 480, false, true, true},
     "[W]\r\nMaximize=No\r\nMinimize=Yes\r\n"},
};

class Save : public testing::TestWithParam<SaveCase> {};

TEST_P(Save, WritesOnlyWhatApplies) {
    const SaveCase& c = GetParam();
    IniDocument doc = IniDocument::fromBytes(
        "[W]\nMaximize=No\nMinimize=No\nXPos=7\nYPos=8\nWidth=9\nHeight=10\n");
    shell::savePlacement(doc, u"W", c.closing);
    EXPECT_EQ(doc.toBytes(), QByteArray(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Table, Save, testing::ValuesIn(kSaveCases),
                         [](const testing::TestParamInfo<SaveCase>& param) {
                             return std::string(param.param.name);
                         });

// What a window stores when it closes is what it gets back when it opens again, through the
// file on disk.
TEST(WindowPlacement, ClosedWindowReopensWhereItWas) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    platform::SettingsFile settings(dir.filePath(platform::SettingsFile::kFileName));
    const WindowPlacement moved{333, 222, 700, 500, false, false, true};
    ASSERT_TRUE(shell::savePlacement(settings, u"Berekenen", moved));
    EXPECT_TRUE(same(shell::restorePlacement(settings, u"BEREKENEN", kDesigned), moved));

    // Closed maximized: opens maximized, and the stored position is gone.
    ASSERT_TRUE(
        shell::savePlacement(settings, u"Berekenen", {333, 222, 700, 500, true, false, true}));
    EXPECT_TRUE(same(shell::restorePlacement(settings, u"Berekenen", kDesigned),
                     {100, 50, 400, 300, true, false, true}));
    EXPECT_FALSE(settings.value(u"Berekenen", u"XPos").has_value());
}

}  // namespace
