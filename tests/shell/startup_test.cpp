#include "shell/startup.h"
#include "shell/window_ids.h"
#include "shell/working_dirs.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <stdexcept>

using namespace shell_test;

namespace {

TEST(WorkDirs, AreSiblingsOfTheHomeDirectory) {
    struct Case {
        const char16_t* home;
        const char* input;
        const char* output;
    };
    const Case cases[] = {
        {u"/srv/model/Bin", "/srv/model/Input", "/srv/model/Output"},
        {u"/home", "/Input", "/Output"},
        {u"/", "/Input", "/Output"},
        {u"/srv/model dir/Bin 2", "/srv/model dir/Input", "/srv/model dir/Output"},
        {u"Bin", "Input", "Output"},
    };
    for (const Case& c : cases) {
        const shell::WorkDirs dirs = shell::deriveWorkDirs(QStringView(c.home));
        EXPECT_EQ(str(dirs.inputDir), c.input) << str(QString::fromUtf16(c.home));
        EXPECT_EQ(str(dirs.outputDir), c.output) << str(QString::fromUtf16(c.home));
    }
}

struct Home {
    QTemporaryDir root;
    QString parent() const { return root.filePath(QStringLiteral("Model")); }
    QString bin() const { return root.filePath(QStringLiteral("Model/Bin")); }
    bool make() { return root.isValid() && QDir().mkpath(bin()); }
};

TEST(WorkDirs, AreCreatedBesideTheHomeAndEndWithSeparator) {
    Home home;
    ASSERT_TRUE(home.make());
    shell::Glo glo;
    glo.homeDir = home.bin();
    platform::RecordingSink sink;
    shell::prepareWorkDirs(glo, sink);
    EXPECT_EQ(glo.inputDir, home.parent() + QStringLiteral("/Input/"));
    EXPECT_EQ(glo.outputDir, home.parent() + QStringLiteral("/Output/"));
    EXPECT_TRUE(QFileInfo(glo.inputDir).isDir());
    EXPECT_TRUE(QFileInfo(glo.outputDir).isDir());
    EXPECT_FALSE(QFileInfo::exists(home.bin() + QStringLiteral("/Input")));
    EXPECT_TRUE(sink.messages.empty());
}

TEST(WorkDirs, ExistingNamesAreLeftAlone) {
    Home home;
    ASSERT_TRUE(home.make());
    // A file called Input, a directory Output with a file in it.
    ASSERT_TRUE(writeAll(home.parent() + QStringLiteral("/Input"), "geen map"));
    ASSERT_TRUE(QDir().mkdir(home.parent() + QStringLiteral("/Output")));
    ASSERT_TRUE(writeAll(home.parent() + QStringLiteral("/Output/RepGeurBelast.dat"), "oud"));
    shell::Glo glo;
    glo.homeDir = home.bin();
    platform::RecordingSink sink;
    shell::prepareWorkDirs(glo, sink);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(readAll(home.parent() + QStringLiteral("/Input")), QByteArray("geen map"));
    EXPECT_EQ(readAll(home.parent() + QStringLiteral("/Output/RepGeurBelast.dat")),
              QByteArray("oud"));
    EXPECT_EQ(glo.inputDir, home.parent() + QStringLiteral("/Input/"));
}

// A home directory whose parent is a regular file: neither working directory can be made. Each
// gets its own message, and the chart check still runs afterwards.
TEST(WorkDirs, EachDirectoryThatCannotBeMadeIsReportedOnce) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString blocker = root.filePath(QStringLiteral("Model"));
    ASSERT_TRUE(writeAll(blocker, "bestand"));

    shell::Glo glo;
    platform::RecordingSink sink;
    bool probed = false;
    shell::Shell sh(glo, sink,
                    {root.filePath(QStringLiteral("settings.ini")),
                     blocker + QStringLiteral("/Bin"), [&probed] { return probed = true; }});
    shell::startUp(sh);
    shell::frameStartUp(sh);

    ASSERT_EQ(sink.messages.size(), 2u);
    EXPECT_EQ(str(sink.messages[0].text),
              "Kan de werkdirectory (" + str(blocker) + "/Input) niet aanmaken!");
    EXPECT_EQ(str(sink.messages[1].text),
              "Kan de werkdirectory (" + str(blocker) + "/Output) niet aanmaken!");
    for (const platform::Message& m : sink.messages) {
        EXPECT_TRUE(m.title.isEmpty());
        EXPECT_EQ(m.buttons, platform::Ok);
        EXPECT_EQ(m.icon, platform::Icon::None);
    }
    EXPECT_EQ(glo.inputDir, blocker + QStringLiteral("/Input/"));
    EXPECT_EQ(glo.outputDir, blocker + QStringLiteral("/Output/"));
    EXPECT_TRUE(probed);
    EXPECT_TRUE(sh.chartAvailable);
    EXPECT_EQ(readAll(blocker), QByteArray("bestand"));
}

TEST(HomeDir, IsTheResolvedCurrentDirectory) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString real = QFileInfo(root.path()).canonicalFilePath() + QStringLiteral("/echt");
    const QString link = root.filePath(QStringLiteral("koppeling"));
    ASSERT_TRUE(QDir().mkdir(real));
    ASSERT_TRUE(QFile::link(real, link));
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(link));
    const QString home = shell::currentHomeDir();
    // Frame start-up without a home directory given takes the current one.
    shell::Glo glo;
    platform::RecordingSink sink;
    shell::Shell sh(glo, sink, {root.filePath(QStringLiteral("settings.ini")), {}, {}});
    shell::startUp(sh);
    shell::frameStartUp(sh);
    ASSERT_TRUE(QDir::setCurrent(saved));
    EXPECT_EQ(home, real);
    EXPECT_EQ(glo.homeDir, real);
    EXPECT_EQ(glo.inputDir, QFileInfo(root.path()).canonicalFilePath() + QStringLiteral("/Input/"));
    EXPECT_TRUE(QFileInfo(glo.inputDir).isDir());
    EXPECT_TRUE(sink.messages.empty());

    ASSERT_TRUE(QDir::setCurrent(QStringLiteral("/")));
    const QString rootHome = shell::currentHomeDir();
    ASSERT_TRUE(QDir::setCurrent(saved));
    EXPECT_EQ(str(rootHome), "/");
}

TEST(ChartCheck, NeverStopsStartUpAndShowsAtMostOneMessage) {
    struct Case {
        const char* name;
        shell::ChartProbe probe;
        bool usable;
        int messages;
    };
    const Case cases[] = {
        {"no_probe", {}, true, 0},
        {"usable", [] { return true; }, true, 0},
        {"unusable", [] { return false; }, false, 1},
        {"probe_throws", []() -> bool { throw std::runtime_error("geen grafiek"); }, false, 1},
    };
    for (const Case& c : cases) {
        platform::RecordingSink sink;
        EXPECT_EQ(shell::checkChart(c.probe, sink), c.usable) << c.name;
        ASSERT_EQ(static_cast<int>(sink.messages.size()), c.messages) << c.name;
        if (c.messages == 1) {
            const platform::Message& m = sink.messages.front();
            EXPECT_TRUE(m.title.isEmpty());
            EXPECT_EQ(m.buttons, platform::Ok);
            EXPECT_TRUE(
                m.text.startsWith(QStringLiteral("Een onderdeel benodigd voor de "
                                                 "grafische functies")));
        }
    }
}

TEST(Startup, RunProgramSetsEverythingUpAndAlwaysShutsDown) {
    Home home;
    ASSERT_TRUE(home.make());
    const QString settingsPath = home.root.filePath(QStringLiteral("cfg/settings.ini"));
    shell::Glo glo;
    platform::RecordingSink sink;
    shell::Shell sh(glo, sink, {settingsPath, home.bin(), [] { return false; }});

    const int result = shell::runProgram(sh, [&](shell::Shell& s) {
        // Everything is in place before the body runs.
        EXPECT_EQ(str(s.helpFile), "V-Wolkan-Vaduvevedu.hlp");
        EXPECT_EQ(s.glo.homeDir, home.bin());
        EXPECT_TRUE(s.glo.inputDir.endsWith(QStringLiteral("/Model/Input/")));
        EXPECT_EQ(str(s.glo.resultsFile), "RepGeurBelast.dat");
        EXPECT_EQ(str(s.glo.bedrijven), "Bedrijven.tps");
        EXPECT_FALSE(s.chartAvailable);
        EXPECT_FALSE(QFile::exists(settingsPath));
        return 7;
    });
    EXPECT_EQ(result, 7);
    EXPECT_EQ(sink.messages.size(), 1u);  // the chart message only
    EXPECT_EQ(readAll(settingsPath), QByteArray("[__Dont_Touch_Me__]\r\nSectors=0\r\n"));

    // A body that ends the program with a fatal error still gets its shutdown.
    ASSERT_TRUE(writeAll(settingsPath, "[__Dont_Touch_Me__]\r\nSectors=5\r\n"));
    shell::Shell again(glo, sink, {settingsPath, home.bin(), {}});
    EXPECT_THROW(shell::runProgram(again,
                                   [](shell::Shell& s) -> int {
                                       EXPECT_EQ(str(s.bookkeepingSectors), "5");
                                       s.errors.fatal(QStringLiteral("Fout"),
                                                      QStringLiteral("Afgebroken"));
                                   }),
                 platform::FatalError);
    EXPECT_EQ(readAll(settingsPath), QByteArray("[__Dont_Touch_Me__]\r\nSectors=0\r\n"));
}

TEST(WindowIds, TitleGetsIdentifierInFrontOnce) {
    struct Case {
        const char16_t* id;
        const char16_t* title;
        const char* expected;
    };
    const Case cases[] = {
        {u"SV0", u"V-Wolkan-Dazevovirovu V-2010.1", "SV0 - V-Wolkan-Dazevovirovu V-2010.1"},
        {u"SV04", u"Toevoegen van een Bron", "SV04 - Toevoegen van een Bron"},
        {u"SV03", u"SV03 - Wijzigen van een bedrijf", "SV03 - Wijzigen van een bedrijf"},
        {u"SV03", u"SV03", "SV03"},
        {u"SV06", u"", "SV06 - "},
        {u"", u"Kopieer bedrijf", "Kopieer bedrijf"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(str(shell::windowTitle(QStringView(c.id), QStringView(c.title))), c.expected);
    }
}

TEST(WindowIds, EveryWindowHasItsOwnSectionAndIdentifier) {
    QSet<QString> sections;
    QSet<QString> ids;
    for (const shell::WindowInfo& w : shell::windows::kAll) {
        EXPECT_FALSE(sections.contains(w.section.toString())) << str(w.section.toString());
        sections.insert(w.section.toString());
        if (!w.id.isEmpty()) {
            EXPECT_FALSE(ids.contains(w.id.toString())) << str(w.id.toString());
            ids.insert(w.id.toString());
        }
    }
    EXPECT_EQ(sections.size(), 10);
    EXPECT_EQ(ids.size(), 9);  // the copy window has none
}

}  // namespace
