#include "catalogue/recentlist.h"

#include <gtest/gtest.h>

using namespace helicordia;

namespace {

struct RecentCase {
    const char *what;
    QStringList before;
    QString name;
    QStringList after;
};

void PrintTo(const RecentCase &c, std::ostream *os)
{
    *os << c.what;
}

class AddRecentRules : public ::testing::TestWithParam<RecentCase> {};

TEST_P(AddRecentRules, Apply)
{
    QStringList list = GetParam().before;
    AddRecent(list, GetParam().name);
    EXPECT_EQ(list, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddRecentRules,
    ::testing::Values(
        RecentCase{"one character is ignored", {"x", "Alpha"}, "A", {"x", "Alpha"}},
        RecentCase{"empty name is ignored", {}, "", {}}, RecentCase{"first name", {}, "Alpha", {"Alpha"}},
        RecentCase{"two characters are enough", {"Gamma"}, "Ab", {"Ab", "Gamma"}},
        RecentCase{"duplicates in any case go", {"beta", "Alpha", "BETA"}, "Beta", {"Beta", "Alpha"}},
        RecentCase{"replayed name moves to the top", {"Alpha", "Gamma"}, "Gamma", {"Gamma", "Alpha"}},
        RecentCase{
            "top item missing the last character is replaced", {"Alpha", "Gamma"}, "Alphas", {"Alphas", "Gamma"}},
        RecentCase{"prefix rule compares case-sensitively", {"alpha", "Gamma"}, "Alphas", {"Alphas", "alpha", "Gamma"}},
        RecentCase{
            "prefix rule applies to the top item only", {"Gamma", "Alpha"}, "Alphas", {"Alphas", "Gamma", "Alpha"}},
        RecentCase{"prefix rule and duplicate rule together", {"A", "ab", "Gamma", "AB"}, "Ab", {"Ab", "Gamma"}},
        RecentCase{"a longer top item is kept", {"Alphas"}, "Alpha", {"Alpha", "Alphas"}},
        RecentCase{"non-ASCII case is ignored too",
                   {QString::fromUtf8("ŽLUŤ"), "x1"},
                   QString::fromUtf8("žluť"),
                   {QString::fromUtf8("žluť"), "x1"}}));

} // namespace
