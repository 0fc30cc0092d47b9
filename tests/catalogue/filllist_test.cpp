#include "catalogue/catalogue.h"
#include "catalogue/cataloguelistmodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <random>

using namespace helicordia;

namespace {

class FillList : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QStringList lines = {
            "How to use the programs",                // 1
            "Alpha complaint (example) - 10,20.5,30", // 2
            "",                                       // 3: empty, never listed
            "ALPHA wave set - 8,9,10,11,12",          // 4
            "  Beta - 528 ",                          // 5
            "Gamma - 1.2,72 - x",                     // 6
            "Delta -5",                               // 7
            "   ",                                    // 8: blanks only, still a line
            QString::fromUtf8("ČESKÁ řada - 440"),    // 9
        };
        setLines(lines);
    }

    void setLines(const QStringList &lines)
    {
        cat.setCatalogueLineCount(static_cast<int>(lines.size()));
        for (int i = 0; i < lines.size(); ++i)
            cat.setEntry(i + 1, lines[i]);
    }

    QList<int> listed() const
    {
        QList<int> numbers;
        for (int r = 0; r < model.rowCount(); ++r)
            numbers << model.entryNumber(r);
        return numbers;
    }

    Catalogue cat;
    CatalogueListModel model{cat};
};

TEST_F(FillList, IsAWellBehavedModel)
{
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    model.FillList("");
    model.FillList("a");
    model.FillList("zzz");
    EXPECT_EQ(model.columnCount(), 1);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "health problems:");
}

TEST_F(FillList, CountIsEmptyBeforeTheFirstFill)
{
    EXPECT_EQ(model.matchCountText(), "");
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(FillList, EmptySearchListsEveryNonEmptyLine)
{
    model.FillList("");
    EXPECT_EQ(listed(), (QList<int>{1, 2, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(model.matchCountText(), "8");
    EXPECT_EQ(model.itemText(0), "_0001. How to use the programs");
    EXPECT_EQ(model.itemText(1), "#0002. Alpha complaint (example) ");
    EXPECT_EQ(model.data(model.index(3, 0)).toString(), "#0005.   Beta ");
}

TEST_F(FillList, CaseIsIgnored)
{
    for (const char *search : {"ALPHA", "alpha", "Alpha", "aLpHa"}) {
        model.FillList(search);
        EXPECT_EQ(listed(), (QList<int>{2, 4})) << search;
        EXPECT_EQ(model.matchCountText(), "2");
    }
    model.FillList(QString::fromUtf8("česká ŘADA"));
    EXPECT_EQ(listed(), (QList<int>{9}));
}

TEST_F(FillList, SearchCoversTheWholeLineIncludingFrequencies)
{
    model.FillList("528");
    EXPECT_EQ(listed(), (QList<int>{5}));
    model.FillList("1");
    EXPECT_EQ(listed(), (QList<int>{2, 4, 6}));
    model.FillList(" - ");
    EXPECT_EQ(listed(), (QList<int>{2, 4, 5, 6, 9}));
    model.FillList(",72 - x");
    EXPECT_EQ(listed(), (QList<int>{6}));
}

TEST_F(FillList, SearchTextIsUsedUnchanged)
{
    // Not trimmed: the leading blank must be in the line.
    model.FillList(" beta");
    EXPECT_EQ(listed(), (QList<int>{5}));
    model.FillList("  ");
    EXPECT_EQ(listed(), (QList<int>{5, 8}));
    model.FillList("beta  ");
    EXPECT_EQ(listed(), QList<int>());
}

TEST_F(FillList, NoMatchLeavesTheListEmptyAndCountZero)
{
    model.FillList("Alpha");
    model.FillList("no such thing");
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.matchCountText(), "0");
    EXPECT_EQ(model.matchCount(), 0);
    EXPECT_EQ(model.itemText(0), "");
}

TEST_F(FillList, OnlyLinesUpToTheLineCountAreSearched)
{
    cat.setEntry(10, "Alpha beyond the count - 1");
    model.FillList("alpha");
    EXPECT_EQ(listed(), (QList<int>{2, 4}));
}

TEST_F(FillList, RebuildsWithOneResetAndReportsTheCount)
{
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy caption(&model, &CatalogueListModel::matchCountTextChanged);
    model.FillList("a");
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(inserts.count(), 0);
    ASSERT_EQ(caption.count(), 1);
    EXPECT_EQ(caption.at(0).at(0).toString(), model.matchCountText());
}

struct CapCase {
    int lines;
    QString count;
    int listed;
};

void PrintTo(const CapCase &c, std::ostream *os)
{
    *os << c.lines << " matching lines";
}

class FillListCap : public ::testing::TestWithParam<CapCase> {};

TEST_P(FillListCap, ListsAtMostTenThousandButCountsAll)
{
    const CapCase &c = GetParam();
    Catalogue cat;
    cat.setCatalogueLineCount(c.lines + 5);
    for (int n = 1; n <= c.lines + 5; ++n)
        cat.setEntry(n, n <= 5 ? QStringLiteral("Other %1 - 2").arg(n)
                               : QStringLiteral("Sweep step %1 - %2").arg(n).arg(n * 3));
    CatalogueListModel model(cat);
    model.FillList("SWEEP");
    EXPECT_EQ(model.rowCount(), c.listed);
    EXPECT_EQ(model.matchCountText(), c.count);
    EXPECT_EQ(model.matchCount(), c.lines);
    EXPECT_EQ(model.entryNumber(0), 6);
    EXPECT_EQ(model.entryNumber(c.listed - 1), 5 + c.listed); // ascending, no gaps
}

INSTANTIATE_TEST_SUITE_P(Cases, FillListCap,
                         ::testing::Values(CapCase{9999, "9999", 9999}, CapCase{10000, ">10000", 10000},
                                           CapCase{10001, ">10000", 10000}, CapCase{28295, ">10000", 10000}));

} // namespace

namespace {

// The search scans all lines as one block of text; compare it with a plain
// line-by-line case-insensitive test on lines made of few letters, so that
// near misses, hits at line ends and would-be hits across line breaks abound.
TEST(FindEntries, AgreesWithLineByLineSearch)
{
    std::mt19937 random(12345);
    const QString alphabet = QString::fromUtf8("aAbB -,1Čč\n");
    auto pick = [&](int maxLength) {
        QString s;
        const int length = std::uniform_int_distribution<int>(0, maxLength)(random);
        for (int i = 0; i < length; ++i)
            s += alphabet[std::uniform_int_distribution<qsizetype>(0, alphabet.size() - 2)(random)];
        return s;
    };

    Catalogue cat;
    const int count = 400;
    cat.setCatalogueLineCount(count);
    QStringList lines;
    for (int n = 1; n <= count; ++n) {
        lines << pick(12);
        cat.setEntry(n, lines.last());
    }
    cat.setEntry(count + 1, "aaaa"); // beyond the count: never found

    std::vector<int> found;
    for (int round = 0; round < 300; ++round) {
        QString needle = pick(4);
        if (round % 50 == 0)
            needle += u'\n'; // a line break never matches
        const int last = round % 3 == 0 ? count / 2 : count;
        cat.findEntries(needle, last, found);
        std::vector<int> expected;
        for (int n = 1; n <= last; ++n) {
            const QString &line = lines[n - 1];
            if (!line.isEmpty() && line.contains(needle, Qt::CaseInsensitive))
                expected.push_back(n);
        }
        ASSERT_EQ(found, expected) << "needle «" << needle.toStdString() << "» last " << last;
    }
}

// The search folds case on its own, for speed: it must fold every character
// of the Basic Multilingual Plane as Qt's case-insensitive comparison does.
TEST(FoldCase, AgreesWithQtOverTheBasicMultilingualPlane)
{
    QString every;
    for (char32_t c = 0; c <= 0xFFFF; ++c)
        if (!QChar::isSurrogate(c))
            every += QChar(char16_t(c));
    const QString folded = FoldCase(every);
    ASSERT_EQ(folded.size(), every.size());
    for (qsizetype i = 0; i < every.size(); ++i) {
        const char32_t c = every[i].unicode();
        ASSERT_EQ(char32_t(folded[i].unicode()), QChar::toCaseFolded(c)) << "for U+" << std::hex << std::uint32_t(c);
    }
}

TEST(FindEntries, SeesEntriesChangedAfterASearch)
{
    Catalogue cat;
    cat.setCatalogueLineCount(2);
    cat.setEntry(1, "one");
    cat.setEntry(2, "two");
    std::vector<int> found;
    cat.findEntries("o", 2, found);
    EXPECT_EQ(found, (std::vector<int>{1, 2}));
    cat.setEntry(2, "three");
    cat.findEntries("o", 2, found);
    EXPECT_EQ(found, (std::vector<int>{1}));
    cat.findEntries("THREE", 2, found);
    EXPECT_EQ(found, (std::vector<int>{2}));
}

} // namespace
