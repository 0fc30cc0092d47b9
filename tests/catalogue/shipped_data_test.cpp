// Checks on the catalogue file that ships with the program.
#include "catalogue/catalogue.h"
#include "catalogue/cataloguelistmodel.h"
#include "catalogue/entrytext.h"

#include <QFile>
#include <QSet>

#include <gtest/gtest.h>

using namespace helicordia;

namespace {

const QString kPath = QStringLiteral(HELICORDIA_DATA_DIR "/db.db");

class ShippedCatalogue : public ::testing::Test {
protected:
    void SetUp() override
    {
        cat.setCatalogueLineCount(Catalogue::ShippedLineCount);
        QString error;
        ASSERT_TRUE(cat.LoadCatalogue(kPath, &error)) << error.toStdString();
    }
    Catalogue cat;
};

TEST_F(ShippedCatalogue, HasExactlyTheNeededLines)
{
    QFile f(kPath);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_EQ(bytes.count('\n'), 1553);
    EXPECT_TRUE(bytes.endsWith('\n'));
    EXPECT_FALSE(bytes.contains('\r'));
    for (char c : bytes)
        ASSERT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F)) << "not plain ASCII";
}

TEST_F(ShippedCatalogue, PlayableLinesAreWellFormedAndUnique)
{
    QSet<QString> names;
    int playable = 0;
    for (int n = 1; n <= 1553; ++n) {
        const QString &line = cat.entry(n);
        ASSERT_FALSE(line.isEmpty()) << n;
        if (FindEntrySeparator(line) < 0)
            continue;
        ++playable;
        const QString text = cat.listText(n);
        const QString name = EntryName(text).trimmed();
        EXPECT_FALSE(names.contains(name.toLower())) << "duplicate: " << name.toStdString();
        names.insert(name.toLower());

        const QStringList pieces = EntryFrequencies(line).split(u',');
        EXPECT_GE(pieces.size(), 1) << n;
        EXPECT_LE(pieces.size(), 100) << n;
        for (const QString &piece : pieces) {
            bool ok = false;
            const double f = piece.toDouble(&ok);
            EXPECT_TRUE(ok) << n << ": " << piece.toStdString();
            EXPECT_GE(f, 0.5) << n;
            EXPECT_LE(f, 20000.0) << n;
        }
    }
    EXPECT_GT(playable, 1400);
}

TEST_F(ShippedCatalogue, HasUsageNotes)
{
    CatalogueListModel model(cat);
    model.FillList("How to use the programs");
    ASSERT_GE(model.rowCount(), 1);
    EXPECT_TRUE(model.itemText(0).startsWith(u'_'));
    model.FillList("");
    EXPECT_EQ(model.matchCountText(), "1553");
}

TEST_F(ShippedCatalogue, MakesNoHealthClaims)
{
    for (const char *word : {"heal", "cure", "therap", "disease", "pain", "treat"}) {
        for (int n = 1; n <= 1553; ++n) {
            const QString &line = cat.entry(n);
            if (line.contains(word, Qt::CaseInsensitive)) {
                EXPECT_TRUE(line.contains("not treatments") || line.contains("no health claim")) << line.toStdString();
            }
        }
    }
}

} // namespace
