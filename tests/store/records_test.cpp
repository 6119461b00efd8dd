// Texts in record buffers and the roughness cell numbers.

#include "store/records.h"

#include <gtest/gtest.h>

#include <cstring>

namespace store {
namespace {

TEST(RecordTexts, CutToWhatTheFieldHolds) {
    struct Case {
        const char* name;
        int length;
        int storedInName;  // BED:NAAM, NUL-terminated, 255 bytes
        int storedInBer;   // BER:NAAM, NUL-terminated, 128 bytes
    };
    const Case cases[] = {{"empty", 0, 0, 0},
                          {"name_of_127", 127, 127, 127},
                          {"name_of_128_cut_to_127", 128, 128, 127},
                          {"name_of_254_whole", 254, 254, 127},
                          {"name_of_255_cut", 255, 254, 127}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString value(c.length, QLatin1Char('x'));
        BedrijvenRecord bed{};
        BerekeningenRecord ber{};
        EXPECT_EQ(setText(bed.naam, value), c.length <= 254);
        EXPECT_EQ(setText(ber.naam, value), c.length <= 127);
        EXPECT_EQ(text(bed.naam).size(), c.storedInName);
        EXPECT_EQ(text(ber.naam).size(), c.storedInBer);
        EXPECT_EQ(bed.naam.data[254], '\0');
        EXPECT_EQ(ber.naam.data[127], '\0');
    }
}

TEST(RecordTexts, FixedTextIsBlankPaddedAndReadWithoutThePadding) {
    BronnenRecord bro{};
    std::memset(&bro.userId, 'z', sizeof bro.userId);
    setText(bro.userId, QStringLiteral("EP1"));
    EXPECT_EQ(std::string(bro.userId.data, 20), "EP1" + std::string(17, ' '));
    EXPECT_EQ(text(bro.userId), QStringLiteral("EP1"));
    EXPECT_EQ(paddedText(bro.userId).size(), 20);
    EXPECT_FALSE(setText(bro.userId, QString(21, QLatin1Char('a'))));
    EXPECT_EQ(text(bro.userId), QString(20, QLatin1Char('a')));
}

TEST(RecordTexts, StoredAsWindows1252Bytes) {
    BedrijvenRecord bed{};
    setText(bed.naam, QStringLiteral("Café €"));
    EXPECT_EQ(std::string(bed.naam.data), "Caf\xE9 \x80");
    EXPECT_EQ(text(bed.naam), QStringLiteral("Café €"));
    // A character without a byte in the code page becomes '?', one byte per character.
    setText(bed.naam, QStringLiteral("a\u4E2Db"));
    EXPECT_EQ(std::string(bed.naam.data), "a?b");
}

TEST(RuwheidCells, NumberedRowByRowFromTheSouthWest) {
    EXPECT_EQ(ruwheidCell(0, 0), 1);
    EXPECT_EQ(ruwheidCell(2817, 3249), 2818 * 3250);
    EXPECT_EQ(ruwheidCell(0, 1), 2819);
    EXPECT_EQ(ruwheidCell(5, 0) + 1, ruwheidCell(6, 0));
}

}  // namespace
}  // namespace store
