// The user's own treatments without widgets: the per-piece checks, the file
// read by the catalogue's reader, a failed save, the lookup shared by the
// window and the command line, and the import's plan.
#include "catalogue/catalogue.h"
#include "treatment/own_import.h"
#include "treatment/own_treatments.h"
#include "treatment/treatment_check.h"
#include "treatment/treatment_finder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace helicordia;

namespace {

void WriteAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

// Each piece of a list: what it is, whether it is heard, and the player's
// own value for it.
TEST(FrequencyCheck, SaysWhatEachPieceIs)
{
    const struct {
        const char *piece;
        PieceKind kind;
        bool plays;
    } cases[] = {
        {"528", PieceKind::Number, true},     {" 4 40 ", PieceKind::Number, true},
        {"44o", PieceKind::Unreadable, true}, {"abc", PieceKind::Unreadable, false},
        {"", PieceKind::Unreadable, false},   {"0", PieceKind::Silent, false},
        {"1e999", PieceKind::Silent, false},  {"-24000", PieceKind::Silent, false},
        {"7.83", PieceKind::Low, true},       {"17000", PieceKind::High, true},
        {"30000", PieceKind::Number, true},   {"1E", PieceKind::Unreadable, true},
    };
    for (const auto &c : cases) {
        const QString list = QStringLiteral("440,%1").arg(QString::fromUtf8(c.piece));
        const FrequencyListCheck check = CheckFrequencyList(list, 48000);
        FrequencyTable table{};
        ASSERT_EQ(check.counted, ParseFrequencyList(list, table)) << c.piece;
        ASSERT_EQ(check.sounding, c.plays ? 2 : 1) << c.piece;
        const bool remarked = !check.remarks.empty();
        ASSERT_EQ(remarked, c.kind != PieceKind::Number || QByteArray(c.piece) == "30000") << c.piece;
        if (remarked) {
            EXPECT_EQ(check.remarks[0].kind, c.kind) << c.piece;
            EXPECT_EQ(check.remarks[0].hertz, table[2]) << c.piece;
        }
    }
    const FrequencyListCheck many =
        CheckFrequencyList(QString(130, QLatin1Char(',')).prepend(QStringLiteral("1")), 48000);
    EXPECT_EQ(many.pieces, 131);
    EXPECT_EQ(many.counted, 100);
}

// What keeps a treatment from being saved, and the sentence the editor shows.
TEST(FrequencyCheck, TreatmentProblemsAndRemarks)
{
    const struct {
        const char *name, *frequencies;
        const char *problem; // empty: it can be saved
    } cases[] = {
        {"Calm", "432, 528", ""},
        {"  ", "432", "Give the treatment a name."},
        {"A\nB", "432", "The name must be on one line."},
        {"A - B", "432", "The name must not contain"},
        {"A -", "432", "The name must not contain"},
        {"Calm", "", "Give at least one frequency"},
        {"Calm", "0,abc", "No frequency will be heard; piece 1, «0», is silent (0 Hz)."},
        {"Calm", "432\n528", "The frequencies must be on one line"},
    };
    for (const auto &c : cases) {
        const TreatmentCheck check(QString::fromUtf8(c.name), QString::fromUtf8(c.frequencies));
        EXPECT_EQ(check.canSave(), !*c.problem) << c.name;
        if (*c.problem) {
            EXPECT_TRUE(check.problems().value(0).startsWith(QString::fromUtf8(c.problem)))
                << check.problems().value(0).toStdString();
        }
    }
    const TreatmentCheck check(QStringLiteral(" Calm "), QStringLiteral("432,44o"));
    EXPECT_EQ(check.line(), QStringLiteral("Calm - 432,44o"));
    EXPECT_EQ(check.warnings(), QStringList{QStringLiteral("piece 2, «44o», is not a number: it plays as 44 Hz.")});
    EXPECT_EQ(check.summary(),
              QStringLiteral("2 frequencies will play; the treatment lasts 00h:06m:00s at its suggested length."));
}

// Whatever plays from db.db plays the same from the user's file: the same
// lines, decoded the same way, give the same frequency programs.
TEST(OwnTreatmentsFile, ReadByTheCataloguesReader)
{
    const QByteArray hundredAndOne = "Long - " + QByteArray("1,").repeated(100) + "2";
    const QString text = QStringLiteral("Čaj - 432\r\nA note\r\n");
    const QByteArray utf16 =
        QByteArray("\xFF\xFE", 2) + QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    const struct {
        const char *what;
        QByteArray bytes;
    } cases[] = {
        {"good, no separator, unreadable pieces", "Calm - 432,528\nA heading\nOdd - 44o,,abc\n"},
        {"more than 100 pieces", hundredAndOne + "\n"},
        {"CR LF and a lone CR", "One - 1\r\nTwo - 2\rThree - 3"},
        {"byte order mark", "\xEF\xBB\xBF\xC4\x8C"
                            "aj - 100\n"},
        {"Windows-1250", "\xC8"
                         "aj \x9A"
                         "ipek - 100,200\n"},
        {"UTF-16", utf16},
    };
    for (const auto &c : cases) {
        QTemporaryDir dir;
        WriteAll(dir.filePath("db.db"), c.bytes);
        WriteAll(dir.filePath("my-treatments.txt"), c.bytes);
        OwnTreatments own;
        ASSERT_EQ(own.load(dir.filePath("my-treatments.txt")), QString()) << c.what;
        Catalogue catalogue;
        catalogue.setCatalogueLineCount(own.count());
        ASSERT_TRUE(catalogue.LoadCatalogue(dir.filePath("db.db"), nullptr)) << c.what;
        for (int n = 1; n <= own.count(); ++n) {
            EXPECT_EQ(own.line(n), catalogue.entry(n)) << c.what;
            FrequencyTable fromOwn{}, fromCatalogue{};
            EXPECT_EQ(ParseFrequencyList(own.frequencies(n), fromOwn),
                      ParseFrequencyList(EntryFrequencies(catalogue.entry(n)), fromCatalogue));
            EXPECT_EQ(fromOwn, fromCatalogue) << c.what << " line " << n;
        }
        // Kept byte for byte; UTF-16 as the same text in UTF-8.
        EXPECT_EQ(own.fileBytes(), c.bytes == utf16 ? text.toUtf8() : c.bytes) << c.what;
    }
}

// A save that fails leaves the list as the file holds it and names the file.
TEST(OwnTreatmentsFile, AFailedSaveChangesNothing)
{
    QTemporaryDir dir;
    WriteAll(dir.filePath("folder"), "a file where the folder should be");
    const QString path = QDir(dir.filePath("folder")).filePath("my-treatments.txt");
    OwnTreatments own;
    ASSERT_EQ(own.load(path), QString());
    const QString error = own.add({QStringLiteral("Calm - 432")});
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(path))) << error.toStdString();
    EXPECT_EQ(own.count(), 0);

    // An unreadable file is never written over.
    WriteAll(dir.filePath("big.txt"), QByteArray(int(OwnTreatments::MaxFileBytes) + 1, 'x'));
    EXPECT_NE(own.load(dir.filePath("big.txt")), QString());
    EXPECT_NE(own.add({QStringLiteral("Calm - 432")}), QString());
    EXPECT_EQ(QFile(dir.filePath("big.txt")).size(), OwnTreatments::MaxFileBytes + 1);
}

// One lookup for the window, the command line and whoever plays by name.
TEST(TreatmentFinderTest, FindsByIdNameAndSearch)
{
    QTemporaryDir dir;
    WriteAll(dir.filePath("my-treatments.txt"), "Alpha wave set - 10\nBroken - x\nDelta - 3\n");
    OwnTreatments own;
    ASSERT_EQ(own.load(dir.filePath("my-treatments.txt")), QString());
    Catalogue catalogue;
    catalogue.setEntry(1, QStringLiteral("A heading"));
    catalogue.setEntry(2, QStringLiteral("Alpha wave set - 528"));
    catalogue.setEntry(3, QStringLiteral("Gamma - 40"));
    catalogue.setCatalogueLineCount(3);
    const TreatmentFinder finder(catalogue, &own);

    EXPECT_EQ(finder.byId(QStringLiteral("3"))->frequencies, QStringLiteral("40"));
    EXPECT_EQ(finder.byId(QStringLiteral("+0003"))->name, QStringLiteral("Delta "));
    EXPECT_FALSE(finder.byId(QStringLiteral("+4")));
    EXPECT_EQ(finder.byName(QStringLiteral(" Alpha wave set"))->entry, (EntryRef{true, 1})); // the user's version
    EXPECT_EQ(finder.byName(QStringLiteral("Gamma"))->entry, (EntryRef{false, 3}));
    EXPECT_FALSE(finder.byName(QStringLiteral("Broken"))); // not playable
    const struct {
        const char *text;
        int status;
        EntryRef found;
    } choices[] = {
        {"+3", 0, {true, 3}}, {"2", 0, {false, 2}},      {"1", 1, {false, 1}},    {"+2", 1, {true, 2}},
        {"+9", 2, {}},        {"Alpha wave set", 2, {}}, {"delta", 0, {true, 3}}, {"nothing", 2, {}},
    };
    for (const auto &c : choices) {
        const TreatmentFinder::Choice choice = finder.choose(QString::fromUtf8(c.text));
        EXPECT_EQ(choice.status, c.status) << c.text;
        if (c.found.isValid()) {
            EXPECT_EQ(choice.found->entry, c.found) << c.text;
        }
    }
}

// The import takes the catalogue's format and a spreadsheet's, and says why
// it leaves a line.
TEST(ImportPlanTest, TakesWhatCanPlayAndSaysWhyNot)
{
    OwnTreatments own;
    const ImportPlan plan("Calm - 432\n\"Sheet\";\"300,400\"\nTabbed\t100\t200\t\nheading\nSilent - 0\nCalm - 432\n"
                          "Cells;111;222;;\n",
                          own);
    EXPECT_EQ(plan.lines(), (QStringList{"Calm - 432", "Sheet - 300,400", "Tabbed - 100,200", "Cells - 111,222"}));
    ASSERT_EQ(plan.refused().size(), 3u);
    EXPECT_EQ(plan.refused()[0].line, 4);
    EXPECT_EQ(plan.refused()[1].line, 5);
    EXPECT_TRUE(plan.refused()[2].reason.contains(QStringLiteral("already")));
    EXPECT_TRUE(plan.summary().startsWith(QStringLiteral("4 lines can be added to your own treatments; 3 cannot:")));
}
