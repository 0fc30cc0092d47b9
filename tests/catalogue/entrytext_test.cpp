#include "catalogue/entrytext.h"

#include <gtest/gtest.h>

#include <optional>

using namespace helicordia;

namespace {

struct EntryCase {
    int number;
    QString line;
    QString listText;
    QString name;
    QString title;
    std::optional<QString> frequencies; // only for playable lines
};

void PrintTo(const EntryCase &c, std::ostream *os)
{
    *os << c.number << " «" << c.line.toStdString() << "»";
}

class EntryTextRules : public ::testing::TestWithParam<EntryCase> {};

TEST_P(EntryTextRules, LineToListTextAndBack)
{
    const EntryCase &c = GetParam();
    const QString text = FormatEntryText(c.line, c.number);
    EXPECT_EQ(text, c.listText);
    EXPECT_EQ(EntryNumber(text), c.number);
    EXPECT_EQ(EntryName(text), c.name);
    EXPECT_EQ(EntryTitle(text), c.title);
    if (c.frequencies) {
        EXPECT_EQ(EntryFrequencies(c.line), *c.frequencies);
    }
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, EntryTextRules,
    ::testing::Values(EntryCase{1, "Alpha complaint (example) - 10,20.5,30", "#0001. Alpha complaint (example) ",
                                "Alpha complaint (example) ", "Alpha complaint ", QString("10,20.5,30")},
                      EntryCase{7, "How to use the programs", "_0007. How to use the programs",
                                "How to use the programs", "How to use the programs", std::nullopt},
                      EntryCase{42, "  Beta - 528 ", "#0042.   Beta ", "  Beta ", "  Beta ", QString("528")},
                      EntryCase{1553, "Gamma - 1.2,72 - x", "#1553. Gamma ", "Gamma ", "Gamma ", QString("1.2,72 - x")},
                      EntryCase{9, "Delta -5", "_0009. Delta -5", "Delta -5", "Delta -5", std::nullopt}));

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, EntryTextRules,
    ::testing::Values(
        // Only the first separator splits.
        EntryCase{1, "A - B - C", "#0001. A ", "A ", "A ", QString("B - C")},
        // The separator needs a space on both sides.
        EntryCase{2, "A -B", "_0002. A -B", "A -B", "A -B", std::nullopt},
        EntryCase{3, "A- B", "_0003. A- B", "A- B", "A- B", std::nullopt},
        // A five-digit number is written in full and read back whole.
        EntryCase{12345, "Omega (wide) - 7", "#12345. Omega (wide) ", "Omega (wide) ", "Omega ", QString("7")},
        EntryCase{28300, "Last line", "_28300. Last line", "Last line", "Last line", std::nullopt},
        // "(" at the start of the name leaves an empty title.
        EntryCase{5, "(x) y - 1", "#0005. (x) y ", "(x) y ", "", QString("1")},
        // Blanks before the name stay in the list text but not in the frequencies.
        EntryCase{6, "   Beta - 528", "#0006.    Beta ", "   Beta ", "   Beta ", QString("528")},
        // Spaces around the frequency list are dropped; tabs are not spaces.
        EntryCase{8, "Tab\t -   1,2   ", "#0008. Tab\t ", "Tab\t ", "Tab\t ", QString("1,2")},
        // An empty name and a separator that opens the line.
        EntryCase{10, " - 528", "#0010.  ", " ", " ", QString("528")},
        // An empty line is descriptive.
        EntryCase{11, "", "_0011. ", "", "", std::nullopt},
        // Title stops at the first "(" only.
        EntryCase{12, "Eta (a (b)) - 3", "#0012. Eta (a (b)) ", "Eta (a (b)) ", "Eta ", QString("3")}));

struct NumberCase {
    QString text;
    int number;
};
void PrintTo(const NumberCase &c, std::ostream *os)
{
    *os << '"' << c.text.toStdString() << '"';
}

class EntryNumberReading : public ::testing::TestWithParam<NumberCase> {};

TEST_P(EntryNumberReading, ReadsDigitsAfterMarker)
{
    EXPECT_EQ(EntryNumber(GetParam().text), GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(Cases, EntryNumberReading,
                         ::testing::Values(NumberCase{"#0001. x", 1}, NumberCase{"_0150. y", 150},
                                           NumberCase{"#0012. ...", 12}, NumberCase{"#9999. z", 9999},
                                           NumberCase{"#12345. z", 12345}, NumberCase{"", 0}, NumberCase{"#", 0},
                                           NumberCase{"#abcd. x", 0}, NumberCase{"#12", 12}));

TEST(EntryTextRules, FrequenciesOfDescriptiveLineAreEmpty)
{
    EXPECT_EQ(EntryFrequencies("How to use the programs"), QString());
    EXPECT_EQ(EntryFrequencies(""), QString());
}

TEST(EntryTextRules, NamePartOfShortTextIsEmpty)
{
    EXPECT_EQ(EntryName("#0001."), QString());
    EXPECT_EQ(EntryName("#0001. "), QString());
    EXPECT_EQ(EntryTitle("#0001. "), QString());
}

TEST(EntryTextRules, NonAsciiNamesSurviveTheRoundTrip)
{
    const QString line = QString::fromUtf8("Šum č. 1 (žluť) - 440");
    const QString text = FormatEntryText(line, 77);
    EXPECT_EQ(text, QString::fromUtf8("#0077. Šum č. 1 (žluť) "));
    EXPECT_EQ(EntryTitle(text), QString::fromUtf8("Šum č. 1 "));
}

} // namespace
