#include "treatment/frequency_program.h"
#include "treatment/treatment_schedule.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <cmath>

using namespace helicordia;

// ---- time text

struct TimeCase {
    int seconds;
    const char *text;
};
void PrintTo(const TimeCase &c, std::ostream *os)
{
    *os << c.seconds << " s";
}
class TimeText : public ::testing::TestWithParam<TimeCase> {};
TEST_P(TimeText, Formats)
{
    EXPECT_EQ(AfiseazaTimp(GetParam().seconds), QString::fromLatin1(GetParam().text));
}
INSTANTIATE_TEST_SUITE_P(Figures, TimeText,
                         ::testing::Values(TimeCase{0, "00h:00m:00s"}, TimeCase{59, "00h:00m:59s"},
                                           TimeCase{60, "00h:01m:00s"}, TimeCase{180, "00h:03m:00s"},
                                           TimeCase{3599, "00h:59m:59s"}, TimeCase{3600, "01h:00m:00s"},
                                           TimeCase{3661, "01h:01m:01s"}, TimeCase{18000, "05h:00m:00s"},
                                           TimeCase{36000, "10h:00m:00s"}, TimeCase{359999, "99h:59m:59s"},
                                           TimeCase{360000, "100h:00m:00s"}));

// ---- numeric value of a piece

struct ValueCase {
    const char *piece;
    double value;
};
void PrintTo(const ValueCase &c, std::ostream *os)
{
    *os << '"' << c.piece << '"';
}
class PieceValue : public ::testing::TestWithParam<ValueCase> {};
TEST_P(PieceValue, Reads)
{
    EXPECT_DOUBLE_EQ(NumericValue(QString::fromUtf8(GetParam().piece)), GetParam().value)
        << "piece «" << GetParam().piece << "»";
}
INSTANTIATE_TEST_SUITE_P(
    Pieces, PieceValue,
    ::testing::Values(ValueCase{"528", 528}, ValueCase{" 7.83", 7.83}, ValueCase{"12Hz", 12}, ValueCase{"", 0},
                      ValueCase{"Hz", 0}, ValueCase{"5 2 8", 528}, ValueCase{"\t72\n", 72}, ValueCase{" 1 . 2 ", 1.2},
                      ValueCase{"-5", -5}, ValueCase{"+5", 5}, ValueCase{"- 5", -5}, ValueCase{"--5", 0},
                      ValueCase{".5", 0.5}, ValueCase{"5.", 5}, ValueCase{".", 0}, ValueCase{"1.2.3", 1.2},
                      ValueCase{"1e3", 1000}, ValueCase{"1E+3", 1000}, ValueCase{"25E-1", 2.5}, ValueCase{"1D2", 100},
                      ValueCase{"1d-2", 0.01}, ValueCase{"1 E 2", 100}, ValueCase{"1E", 1}, ValueCase{"1E+", 1},
                      ValueCase{"1Ex", 1}, ValueCase{"&H1F", 31}, ValueCase{"&hff", 255}, ValueCase{" & H 10", 16},
                      ValueCase{"&O17", 15}, ValueCase{"&o78", 7}, ValueCase{"&H", 0}, ValueCase{"&X12", 0},
                      ValueCase{"0x10", 0}, ValueCase{"1,5", 1}, ValueCase{"1e-400", 0}, ValueCase{"0.0", 0},
                      ValueCase{"１２", 0}));

TEST(PieceValue, OverflowIsInfinite)
{
    EXPECT_TRUE(std::isinf(NumericValue(QStringLiteral("1e400"))));
    EXPECT_FALSE(FrequencyValue(QStringLiteral("1e400")).has_value());
    EXPECT_FALSE(FrequencyValue(QStringLiteral("1e39")).has_value()); // beyond a 32-bit float
}

// ---- stored values: 32-bit rounding and the division above 20000

struct StoredCase {
    const char *piece;
    float stored;
};
void PrintTo(const StoredCase &c, std::ostream *os)
{
    *os << '"' << c.piece << '"';
}
class StoredValue : public ::testing::TestWithParam<StoredCase> {};
TEST_P(StoredValue, RoundsAndDivides)
{
    const auto v = FrequencyValue(QString::fromLatin1(GetParam().piece));
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(*v, GetParam().stored) << GetParam().piece;
}
INSTANTIATE_TEST_SUITE_P(Figures, StoredValue,
                         ::testing::Values(StoredCase{"20000", 20000.0f}, StoredCase{"20000.5", 995.76807f},
                                           StoredCase{"20001", 995.79297f}, StoredCase{"30000", 1493.6147f},
                                           StoredCase{"100000", 4978.7158f}, StoredCase{"7.83", 7.83f},
                                           StoredCase{"1.2", 1.2f},
                                           // rounded to a float first: 20000.0001 is 20000 as a float
                                           StoredCase{"20000.0001", 20000.0f}));

TEST(StoredValue, DividesByTheWrittenConstantNotEulerCubed)
{
    const float v = *FrequencyValue(QStringLiteral("1000000"));
    EXPECT_EQ(v, static_cast<float>(1000000.0 / 20.0855));
    EXPECT_NE(v, static_cast<float>(1000000.0 / std::exp(3.0)));
}

// ---- parsing the list

struct ListCase {
    const char *list;
    std::vector<float> frequencies;
};
void PrintTo(const ListCase &c, std::ostream *os)
{
    *os << '"' << c.list << '"';
}
class ListParse : public ::testing::TestWithParam<ListCase> {};
TEST_P(ListParse, Pieces)
{
    FrequencyTable table{};
    const int count = ParseFrequencyList(QString::fromLatin1(GetParam().list), table);
    const auto &want = GetParam().frequencies;
    ASSERT_EQ(count, int(want.size())) << GetParam().list;
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(table[i + 1], want[i]) << "index " << i + 1;
    EXPECT_EQ(table[0], 0.0f); // index 0 is never used
}
INSTANTIATE_TEST_SUITE_P(Lists, ListParse,
                         ::testing::Values(ListCase{"528", {528}}, ListCase{"528,", {528, 0}},
                                           ListCase{"528,,741", {528, 0, 741}}, ListCase{"", {0}},
                                           ListCase{" 72 , 1.2", {72, 1.2f}}, ListCase{"1.2,72,528", {1.2f, 72, 528}},
                                           ListCase{",", {0, 0}}, ListCase{"abc,12Hz,30000", {0, 12, 1493.6147f}}));

TEST(ListParse, EntriesAboveTheCountAreNotCleared)
{
    FrequencyTable table{};
    ASSERT_EQ(ParseFrequencyList(QStringLiteral("1,2,3,4"), table), 4);
    ASSERT_EQ(ParseFrequencyList(QStringLiteral("9,8"), table), 2);
    EXPECT_EQ(table[1], 9.0f);
    EXPECT_EQ(table[2], 8.0f);
    EXPECT_EQ(table[3], 3.0f);
    EXPECT_EQ(table[4], 4.0f);
}

TEST(ListParse, AValueTooLargeForAFloatIsCountedAndSilent)
{
    // The slot may hold the previous treatment's frequency: it must not play on.
    for (const char *piece : {"1e39", "1e309", "-1e309", "1e99999999999"}) {
        FrequencyTable table{};
        table[2] = 77.0f;
        ASSERT_EQ(ParseFrequencyList(QStringLiteral("1,%1,3").arg(QLatin1String(piece)), table), 3) << piece;
        EXPECT_EQ(table[2], 0.0f) << piece;
        EXPECT_EQ(table[3], 3.0f) << piece;
    }
}

TEST(ListParse, KeepsTheFirstHundredPiecesAndDropsTheRestBeforeCounting)
{
    for (int pieces : {99, 100, 101, 150, 1000}) {
        QStringList list;
        for (int i = 1; i <= pieces; ++i)
            list << QString::number(i);
        FrequencyTable table{};
        const int count = ParseFrequencyList(list.join(QLatin1Char(',')), table);
        EXPECT_EQ(count, std::min(pieces, 100)) << pieces;
        EXPECT_EQ(table[count], float(count));
        EXPECT_EQ(table[100], pieces >= 100 ? 100.0f : 0.0f);
        EXPECT_EQ(SuggestedDuration(count), std::min(pieces, 100) * 180);
    }
}

// ---- the treatment-length slider

struct SliderCase {
    int count;
    SliderSetup setup;
};
void PrintTo(const SliderCase &c, std::ostream *os)
{
    *os << c.count << " frequencies";
}
class SliderFigures : public ::testing::TestWithParam<SliderCase> {};
TEST_P(SliderFigures, SetUp)
{
    const SliderSetup s = TreatmentSliderSetup(GetParam().count);
    EXPECT_EQ(s, GetParam().setup) << GetParam().count << " frequencies";
    EXPECT_GE(s.value, s.minimum);
    EXPECT_LE(s.value, s.maximum);
}
INSTANTIATE_TEST_SUITE_P(
    Figures, SliderFigures,
    ::testing::Values(SliderCase{1, {3600, 180, 10, 10, 60}}, SliderCase{9, {3600, 1620, 90, 10, 60}},
                      SliderCase{10, {3600, 1800, 100, 10, 60}}, SliderCase{11, {3960, 1980, 110, 10, 60}},
                      SliderCase{20, {7200, 3600, 200, 10, 60}}, SliderCase{100, {36000, 18000, 1000, 10, 60}}));

// ---- the share of one frequency

struct ShareCase {
    int length;
    int count;
    int share;
};
void PrintTo(const ShareCase &c, std::ostream *os)
{
    *os << c.length << " s over " << c.count;
}
class Share : public ::testing::TestWithParam<ShareCase> {};
TEST_P(Share, RoundsHalfToEven)
{
    EXPECT_EQ(FrequencyShare(GetParam().length, GetParam().count), GetParam().share);
}
INSTANTIATE_TEST_SUITE_P(Figures, Share,
                         ::testing::Values(ShareCase{185, 2, 92}, ShareCase{187, 2, 94}, ShareCase{360, 2, 180},
                                           ShareCase{100, 3, 33}, ShareCase{101, 3, 34}, ShareCase{50, 4, 12},
                                           ShareCase{54, 4, 14}, ShareCase{180, 1, 180}, ShareCase{18000, 100, 180},
                                           ShareCase{1005, 100, 10}, ShareCase{1015, 100, 10}, ShareCase{1025, 100, 10},
                                           ShareCase{1035, 100, 10}, ShareCase{1150, 100, 12}));
