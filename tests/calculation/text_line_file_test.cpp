#include "platform/text_line_file.h"

#include "test_support.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <vector>

namespace {

using calctest::PrintTo;

std::vector<std::string> readAll(const std::string& bytes) {
    platform::TextLineReader reader;
    reader.openBuffer(bytes);
    std::vector<std::string> lines;
    std::string line;
    while (reader.readLine(line)) {
        lines.push_back(line);
    }
    return lines;
}

using Lines = std::vector<std::string>;

struct ReadCase {
    const char* name;
    std::string bytes;
    Lines expected;
};

const ReadCase kReadCases[] = {
    {"crlf", "a\r\nb\r\n", {"a", "b"}},
    {"lone_lf_ends_a_line", "a\nb\n", {"a", "b"}},
    {"last_line_without_end", "a\r\nb", {"a", "b"}},
    {"empty_file", "", {}},
    {"blank_line_is_a_line", "a\r\n\r\nb\r\n", {"a", "", "b"}},
    {"lone_cr_is_kept_inside", "a\rb\r\n", {"a\rb"}},
    {"tab_to_next_multiple_of_8",
     "\tx\r\nabc\ty\r\n1234567\tz\r\n12345678\tw\r\n",
     {"        x", "abc     y", "1234567 z", "12345678        w"}},
    {"ctrl_z_ends_the_file", "a\r\nb\x1a\r\nc\r\n", {"a", "b"}},
    {"ctrl_z_at_line_start",
     "a\r\n\x1a"
     "b\r\n",
     {"a"}},
};

class TextLineRead : public testing::TestWithParam<ReadCase> {};

TEST_P(TextLineRead, SplitsLines) {
    EXPECT_EQ(readAll(GetParam().bytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, TextLineRead, testing::ValuesIn(kReadCases), calctest::CaseName());

TEST(TextLineRead, CutsAt500CharactersAfterTabExpansion) {
    const std::string longLine = "\t" + std::string(600, 'x') + "\r\nnext\r\n";
    const Lines lines = readAll(longLine);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(8, ' ') + std::string(492, 'x'));
    EXPECT_EQ(lines[1], "next");
}

TEST(TextLineRead, ReadsAFileLongerThanOneBlock) {
    QTemporaryDir dir;
    std::string bytes;
    for (int i = 0; i < 20000; ++i) {
        bytes += std::to_string(i) + "\r\n";
    }
    const QString path = dir.filePath(QStringLiteral("big.dat"));
    calctest::writeBytes(path, QByteArray::fromStdString(bytes));
    platform::TextLineReader reader;
    ASSERT_TRUE(reader.open(path));
    std::string line;
    int count = 0;
    while (reader.readLine(line)) {
        ASSERT_EQ(line, std::to_string(count));
        ++count;
    }
    EXPECT_EQ(count, 20000);
}

TEST(TextLineRead, OpenFailureGivesTheDriverText) {
    QTemporaryDir dir;
    platform::TextLineReader reader;
    EXPECT_FALSE(reader.open(dir.filePath(QStringLiteral("missing.dat"))));
    EXPECT_EQ(reader.errorText(), QStringLiteral("File Not Found"));
    EXPECT_FALSE(reader.open(dir.path()));
    EXPECT_EQ(reader.errorText(), QStringLiteral("Access Denied"));
}

TEST(TextLineWrite, WritesCrLfTrimsTrailingBlanksAndCutsAt500) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.dat"));
    calctest::writeBytes(path, QByteArray(1000, 'o'));  // an older, longer file is replaced
    platform::TextLineWriter writer;
    ASSERT_TRUE(writer.create(path));
    writer.writeLine("  lead and inner  blanks   ");
    writer.writeLine("");
    writer.writeLine("\xE9t\xE9");
    writer.writeLine(std::string(499, 'a') + "  tail");  // cut at 500 leaves a trailing blank
    ASSERT_TRUE(writer.close());
    EXPECT_EQ(calctest::readBytes(path),
              QByteArray("  lead and inner  blanks\r\n\r\n\xE9t\xE9\r\n") + QByteArray(499, 'a') +
                  QByteArray("\r\n"));
}

TEST(TextLineWrite, CreateFailsInAMissingDirectory) {
    QTemporaryDir dir;
    platform::TextLineWriter writer;
    EXPECT_FALSE(writer.create(dir.filePath(QStringLiteral("no/such/dir/x.dat"))));
    EXPECT_EQ(writer.errorText(), QStringLiteral("Path Not Found"));
    EXPECT_FALSE(writer.writeLine("lost"));
}

}  // namespace
