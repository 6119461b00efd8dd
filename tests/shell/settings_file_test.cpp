#include "platform/settings_file.h"
#include "shell/startup.h"
#include "shell/window_ids.h"
#include "shell/window_placement.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QTemporaryDir>
#include <optional>
#include <thread>
#include <vector>

using platform::IniDocument;
using platform::SettingsFile;
using namespace shell_test;

namespace {

// A settings file written by another tool (LF line ends, UTF-8 with a byte-order mark, a
// comment, a section this program does not know) goes through a whole session: start-up, three
// windows closing, the header sort, shutdown. The result is a Windows INI text, byte for byte.
TEST(SettingsFile, SessionRewritesForeignFileAsWindowsIni) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(SettingsFile::kFileName);
    ASSERT_TRUE(QFile::copy(dataFile("settings_before.ini"), path));

    shell::Glo glo;
    platform::RecordingSink sink;
    shell::Shell sh(glo, sink, {path, dir.path(), {}});
    shell::startUp(sh);
    EXPECT_EQ(str(sh.bookkeepingSectors), "3");
    EXPECT_EQ(str(sh.settings->value(u"eigen SECTIE", u"naam").value_or(QString())),
              "Café de Zwaan");

    EXPECT_TRUE(shell::savePlacement(*sh.settings, shell::windows::kMain.section,
                                     {30, 40, 800, 500, false, false, true}));
    EXPECT_TRUE(shell::savePlacement(*sh.settings, shell::windows::kDefinities.section,
                                     {0, 0, 0, 0, true, false, true}));
    EXPECT_TRUE(shell::savePlacement(*sh.settings, shell::windows::kBerekenen.section,
                                     {1, 2, 300, 300, false, false, false}));
    EXPECT_EQ(str(shell::readSortHeader(*sh.settings)), "BED:NAAM");
    EXPECT_TRUE(shell::writeSortHeader(*sh.settings, u"-BED:AANMAAKDATUM,BED:NAAM"));
    shell::shutDown(sh);

    EXPECT_EQ(readAll(path), readAll(dataFile("settings_after.ini")));
    // Nothing else is left beside the file: no temporary file, no lock file.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{SettingsFile::kFileName});
}

TEST(SettingsFile, FirstWriteCreatesFolderAndFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path =
        dir.filePath(QStringLiteral("config/vaduvevedu/") + SettingsFile::kFileName);
    shell::Glo glo;
    platform::RecordingSink sink;
    shell::Shell sh(glo, sink, {path, dir.path(), {}});
    shell::startUp(sh);
    EXPECT_TRUE(sh.bookkeepingSectors.isEmpty());
    EXPECT_FALSE(QFile::exists(path));  // reading alone creates nothing
    EXPECT_TRUE(
        shell::savePlacement(*sh.settings, u"Main", {12, 34, 640, 480, false, false, true}));
    shell::shutDown(sh);
    shell::shutDown(sh);  // a second shutdown changes nothing
    EXPECT_EQ(readAll(path), readAll(dataFile("settings_fresh.ini")));
    EXPECT_TRUE(sink.messages.empty());
}

struct ReadCase {
    const char* name;
    QByteArray bytes;
    const char16_t* section;
    const char16_t* key;
    std::optional<QString> expected;
};

class IniReading : public testing::TestWithParam<ReadCase> {};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

TEST_P(IniReading, FindsValue) {
    const ReadCase& c = GetParam();
    const IniDocument doc = IniDocument::fromBytes(c.bytes);
    EXPECT_EQ(doc.value(QStringView(c.section), QStringView(c.key)), c.expected);
}

const ReadCase kReadCases[] = {
    {"crlf", "[Main]\r\nXPos=10\r\n", u"Main", u"XPos", QStringLiteral("10")},
    {"lf_only", "[Main]\nXPos=10\n", u"Main", u"XPos", QStringLiteral("10")},
    {"no_final_line_end", "[Main]\nXPos=10", u"Main", u"XPos", QStringLiteral("10")},
    {"utf8_bom", "\xEF\xBB\xBF[Main]\nNaam=Caf\xC3\xA9\n", u"Main", u"Naam",
     QStringLiteral("Café")},
    {"utf16_bom", QByteArray("\xFF\xFE[\0M\0]\0\n\0K\0=\0\xE9\0", 16), u"M", u"K",
     QStringLiteral("é")},
    {"windows_1252", "[Main]\r\nNaam=Caf\xE9\x80\r\n", u"Main", u"Naam", QStringLiteral("Café€")},
    {"names_ignore_case", "[MAIN]\r\nxpos=10\r\n", u"main", u"XPOS", QStringLiteral("10")},
    {"blanks_around", "  [ Main ]  \r\n  XPos =  10  \r\n", u"Main", u"XPos", QStringLiteral("10")},
    {"quotes_taken_off", "[Main]\r\nTitel=\" a b \"\r\n", u"Main", u"Titel",
     QStringLiteral(" a b ")},
    {"first_of_two_sections", "[Main]\r\nXPos=1\r\n[Main]\r\nXPos=2\r\n", u"Main", u"XPos",
     QStringLiteral("1")},
    {"first_of_two_keys", "[Main]\r\nXPos=1\r\nXPos=2\r\n", u"Main", u"XPos", QStringLiteral("1")},
    {"empty_value", "[Main]\r\nXPos=\r\n", u"Main", u"XPos", QString()},
    {"value_with_equals", "[Main]\r\nA=b=c\r\n", u"Main", u"A", QStringLiteral("b=c")},
    {"key_before_any_section", "XPos=10\r\n[Main]\r\n", u"", u"XPos", std::nullopt},
    {"comment_is_no_key", "[Main]\r\n;XPos=10\r\n", u"Main", u";XPos", std::nullopt},
    {"missing_key", "[Main]\r\nXPos=10\r\n", u"Main", u"YPos", std::nullopt},
    {"missing_section", "[Main]\r\nXPos=10\r\n", u"Other", u"XPos", std::nullopt},
    {"key_in_other_section", "[A]\r\nK=1\r\n[B]\r\n", u"B", u"K", std::nullopt},
    {"unclosed_header", "[Main\r\nXPos=10\r\n", u"Main", u"XPos", QStringLiteral("10")},
    {"garbage", QByteArray("\x00\x01\xFF=[", 5), u"Main", u"XPos", std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Table, IniReading, testing::ValuesIn(kReadCases),
                         [](const testing::TestParamInfo<ReadCase>& param) {
                             return std::string(param.param.name);
                         });

TEST(IniDocument, EditsKeepEverythingElseInPlace) {
    IniDocument doc =
        IniDocument::fromBytes("; kop\n[A]\nx = 1\n\n[B]\n; alleen commentaar\n\n[C]\nk=v\n");
    doc.setValue(u"a", u"X", u"2");  // existing key: rewritten in place, its spelling kept
    doc.setValue(u"A", u"y", u"3");  // new key: after the last key, before the blank line
    doc.setValue(u"B", u"z", u"4");  // section without keys: right after its header
    doc.setValue(u"D", u"w", u"€");  // new section at the end
    doc.setValue(u"D", u"v", u"a\r\n[Main]\nXPos=1");  // stays one line
    EXPECT_TRUE(doc.remove(u"C", u"K"));
    EXPECT_FALSE(doc.remove(u"C", u"k"));
    EXPECT_FALSE(doc.remove(u"E", u"k"));
    EXPECT_EQ(doc.toBytes(), QByteArray("; kop\r\n[A]\r\nx=2\r\ny=3\r\n\r\n[B]\r\nz=4\r\n"
                                        "; alleen commentaar\r\n\r\n[C]\r\n[D]\r\nw=\x80\r\n"
                                        "v=a  [Main] XPos=1\r\n"));
    EXPECT_EQ(doc.sections(), (QStringList{QStringLiteral("A"), QStringLiteral("B"),
                                           QStringLiteral("C"), QStringLiteral("D")}));
    EXPECT_EQ(doc.keys(u"A"), (QStringList{QStringLiteral("x"), QStringLiteral("y")}));
}

TEST(SettingsFile, UnusableFileMeansNothingStoredAndNothingLost) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A folder where the file should be: nothing can be read, nothing is written.
    const QString asFolder = dir.filePath(QStringLiteral("folder.INI"));
    ASSERT_TRUE(QDir().mkdir(asFolder));
    SettingsFile folder(asFolder);
    EXPECT_TRUE(folder.read().isEmpty());
    EXPECT_FALSE(folder.setValue(u"Main", u"XPos", u"1"));
    const shell::WindowPlacement designed{5, 6, 7, 8, false, false, true};
    const auto restored = shell::restorePlacement(folder, u"Main", designed);
    EXPECT_EQ(restored.x, 5);
    EXPECT_EQ(restored.width, 7);

    // A regular file where the folder should be.
    const QString blocker = dir.filePath(QStringLiteral("blocker"));
    ASSERT_TRUE(writeAll(blocker, "keep"));
    SettingsFile underFile(blocker + QStringLiteral("/") + SettingsFile::kFileName);
    EXPECT_FALSE(underFile.setValue(u"Main", u"XPos", u"1"));
    EXPECT_EQ(readAll(blocker), QByteArray("keep"));
}

// Many writers at once, each adding its own keys: every key arrives, none is lost to another
// writer's read-modify-write.
TEST(SettingsFile, ConcurrentWritersLoseNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(SettingsFile::kFileName);
    constexpr int kPerWriter = 60;

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SettingsFile file(path);
        int failures = 0;
        for (int i = 0; i < kPerWriter; ++i) {
            failures += file.setValue(u"Proces", QStringLiteral("k%1").arg(i), u"1") ? 0 : 1;
        }
        _exit(failures == 0 ? 0 : 1);
    }
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t) {
        threads.emplace_back([&path, t] {
            SettingsFile file(path);
            for (int i = 0; i < kPerWriter; ++i) {
                (void)file.setValue(QStringLiteral("Draad%1").arg(t), QStringLiteral("k%1").arg(i),
                                    QString::number(i));
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    const IniDocument doc = SettingsFile(path).read();
    EXPECT_EQ(doc.keys(u"Proces").size(), kPerWriter);
    for (int t = 0; t < 3; ++t) {
        EXPECT_EQ(doc.keys(QStringLiteral("Draad%1").arg(t)).size(), kPerWriter) << t;
    }
}

TEST(SettingsFile, DefaultPathFollowsEnvironment) {
    const QByteArray savedChoice = qgetenv(SettingsFile::kPathVariable);
    const QByteArray savedXdg = qgetenv("XDG_CONFIG_HOME");
    qunsetenv(SettingsFile::kPathVariable);

    qputenv("XDG_CONFIG_HOME", "/srv/config");
    EXPECT_EQ(str(SettingsFile::defaultPath()), "/srv/config/vaduvevedu/V-Wolkan-Vaduvevedu.INI");
    qputenv("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(SettingsFile::defaultPath(),
              QDir::homePath() + QStringLiteral("/.config/vaduvevedu/V-Wolkan-Vaduvevedu.INI"));
    qputenv(SettingsFile::kPathVariable, "/tmp/elders/test.ini");
    EXPECT_EQ(str(SettingsFile::defaultPath()), "/tmp/elders/test.ini");

    if (savedChoice.isNull()) {
        qunsetenv(SettingsFile::kPathVariable);
    } else {
        qputenv(SettingsFile::kPathVariable, savedChoice);
    }
    if (savedXdg.isNull()) {
        qunsetenv("XDG_CONFIG_HOME");
    } else {
        qputenv("XDG_CONFIG_HOME", savedXdg);
    }
}

}  // namespace
