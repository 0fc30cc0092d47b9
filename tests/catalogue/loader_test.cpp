#include "catalogue/catalogue.h"
#include "catalogue/textcodec.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace helicordia;

namespace {

class Loader : public ::testing::Test {
protected:
    QString write(const QByteArray &bytes, const QString &name = "db.db")
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    static QByteArray numberedLines(int count, const char *lineBreak = "\n")
    {
        QByteArray bytes;
        for (int i = 1; i <= count; ++i)
            bytes += "Line " + QByteArray::number(i) + " - " + QByteArray::number(i * 10) + lineBreak;
        return bytes;
    }

    QTemporaryDir dir;
    Catalogue cat;
};

TEST_F(Loader, ExactCountFillsEveryEntry)
{
    cat.setCatalogueLineCount(1553);
    QString error = "stale";
    ASSERT_TRUE(cat.LoadCatalogue(write(numberedLines(1553)), &error));
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(cat.entry(1), "Line 1 - 10");
    EXPECT_EQ(cat.entry(1553), "Line 1553 - 15530");
    EXPECT_EQ(cat.listText(1553), "#1553. Line 1553 ");
    EXPECT_TRUE(cat.entry(1554).isEmpty());
}

TEST_F(Loader, LastLineWithoutLineBreakCounts)
{
    cat.setCatalogueLineCount(3);
    ASSERT_TRUE(cat.LoadCatalogue(write("a\nb\nc"), nullptr));
    EXPECT_EQ(cat.entry(3), "c");
}

TEST_F(Loader, LinesBeyondTheCountAreIgnored)
{
    cat.setCatalogueLineCount(1553);
    ASSERT_TRUE(cat.LoadCatalogue(write(numberedLines(1700)), nullptr));
    EXPECT_EQ(cat.entry(1553), "Line 1553 - 15530");
    EXPECT_TRUE(cat.entry(1554).isEmpty());
    EXPECT_TRUE(cat.listText(1554).isEmpty());
}

TEST_F(Loader, ShortFileNamesFileAndLineCount)
{
    cat.setCatalogueLineCount(1553);
    const QString path = write(numberedLines(1552));
    QString error;
    EXPECT_FALSE(cat.LoadCatalogue(path, &error));
    EXPECT_TRUE(error.contains("db.db")) << error.toStdString();
    EXPECT_TRUE(error.contains("only 1552 lines")) << error.toStdString();
    EXPECT_TRUE(error.contains("1553")) << error.toStdString();
}

TEST_F(Loader, ShortFileCountsEmptyAndUnterminatedLines)
{
    cat.setCatalogueLineCount(1553);
    QString error;
    // Three lines: "x", "" and "y" without a final line break.
    EXPECT_FALSE(cat.LoadCatalogue(write("x\r\n\r\ny"), &error));
    EXPECT_TRUE(error.contains("only 3 lines")) << error.toStdString();

    EXPECT_FALSE(cat.LoadCatalogue(write("one line\n"), &error));
    EXPECT_TRUE(error.contains("only 1 line;")) << error.toStdString();

    EXPECT_FALSE(cat.LoadCatalogue(write(""), &error));
    EXPECT_TRUE(error.contains("0 lines")) << error.toStdString();
}

TEST_F(Loader, MissingFileIsReportedWithItsName)
{
    QString error;
    const QString path = dir.filePath("nowhere/db.db");
    EXPECT_FALSE(cat.LoadCatalogue(path, &error));
    EXPECT_TRUE(error.contains("db.db")) << error.toStdString();
    EXPECT_TRUE(error.contains("cannot be opened")) << error.toStdString();
    // The reason from the system follows the colon.
    EXPECT_GT(error.size(), error.indexOf(':') + 3);
}

TEST_F(Loader, DirectoryIsNotACatalogue)
{
    QString error;
    EXPECT_FALSE(cat.LoadCatalogue(dir.path(), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(Loader, FailedLoadKeepsThePreviousTable)
{
    cat.setCatalogueLineCount(2);
    ASSERT_TRUE(cat.LoadCatalogue(write("a - 1\nb - 2\n"), nullptr));
    EXPECT_FALSE(cat.LoadCatalogue(write("only\n", "short.db"), nullptr));
    EXPECT_EQ(cat.entry(1), "a - 1");
    EXPECT_EQ(cat.entry(2), "b - 2");
}

TEST_F(Loader, AcceptsEveryLineBreakConvention)
{
    cat.setCatalogueLineCount(6);
    ASSERT_TRUE(cat.LoadCatalogue(write("crlf\r\nlf\ncr\rlast crlf\r\n\r\r\n"), nullptr));
    EXPECT_EQ(cat.entry(1), "crlf");
    EXPECT_EQ(cat.entry(2), "lf");
    EXPECT_EQ(cat.entry(3), "cr");
    EXPECT_EQ(cat.entry(4), "last crlf");
    EXPECT_EQ(cat.entry(5), ""); // lone CR
    EXPECT_EQ(cat.entry(6), ""); // CR LF
}

TEST_F(Loader, LineBreakSplitAcrossReadBlocks)
{
    // A CR LF pair that straddles the 64 KiB reading block is one line break.
    QByteArray first(64 * 1024 - 1, 'x');
    cat.setCatalogueLineCount(3);
    ASSERT_TRUE(cat.LoadCatalogue(write(first + "\r\nsecond\r\nthird"), nullptr));
    EXPECT_EQ(cat.entry(1).size(), first.size());
    EXPECT_EQ(cat.entry(2), "second");
    EXPECT_EQ(cat.entry(3), "third");
}

TEST_F(Loader, LinesAreKeptExactly)
{
    cat.setCatalogueLineCount(4);
    ASSERT_TRUE(cat.LoadCatalogue(write("  lead\ntrail  \n\n\tTab - 1 \n"), nullptr));
    EXPECT_EQ(cat.entry(1), "  lead");
    EXPECT_EQ(cat.entry(2), "trail  ");
    EXPECT_EQ(cat.entry(3), "");
    EXPECT_EQ(cat.entry(4), "\tTab - 1 ");
}

TEST_F(Loader, EntriesOutsideTheTableAreEmpty)
{
    cat.setCatalogueLineCount(1);
    ASSERT_TRUE(cat.LoadCatalogue(write("x\n"), nullptr));
    EXPECT_TRUE(cat.entry(0).isEmpty());
    EXPECT_TRUE(cat.entry(-1).isEmpty());
    EXPECT_TRUE(cat.entry(28301).isEmpty());
    EXPECT_TRUE(cat.listText(0).isEmpty());
}

// The table holds what was loaded or set: a shorter file leaves nothing of a
// longer one, an entry set far out is found, and a search reaching past the
// table finds nothing there.
TEST_F(Loader, TableFollowsWhatWasLoadedOrSet)
{
    cat.setEntry(Catalogue::MaxEntries, "far - 1");
    cat.setCatalogueLineCount(3);
    ASSERT_TRUE(cat.LoadCatalogue(write(numberedLines(3)), nullptr));
    EXPECT_TRUE(cat.entry(Catalogue::MaxEntries).isEmpty());
    std::vector<int> found;
    cat.findEntries("", Catalogue::MaxEntries, found);
    EXPECT_EQ(found, (std::vector<int>{1, 2, 3}));
    cat.setEntry(Catalogue::MaxEntries + 1, "ignored");
    cat.setEntry(9, "Ninth - 9");
    EXPECT_EQ(cat.foldedEntry(9), "ninth - 9");
    EXPECT_TRUE(cat.entry(8).isEmpty());
    cat.findEntries("n", Catalogue::MaxEntries, found);
    EXPECT_EQ(found, (std::vector<int>{1, 2, 3, 9}));
    cat.findEntries("ignored", Catalogue::MaxEntries + 1, found);
    EXPECT_TRUE(found.empty());
}

TEST_F(Loader, ValidUtf8IsReadAsUtf8)
{
    cat.setCatalogueLineCount(2);
    ASSERT_TRUE(cat.LoadCatalogue(write("\xEF\xBB\xBFPo\xC5\xA1ta\n\xC4\x8D\xC4\x85 - 1\n"), nullptr));
    EXPECT_EQ(cat.entry(1), QString::fromUtf8("Pošta")); // byte order mark dropped
    EXPECT_EQ(cat.entry(2), QString::fromUtf8("čą - 1"));
}

TEST_F(Loader, OtherBytesAreReadAsWindows1250)
{
    cat.setCatalogueLineCount(2);
    // 0x9A š, 0xE8 č, 0xB9 ą; the second line would be valid UTF-8 on its own,
    // but the whole file is decoded one way.
    ASSERT_TRUE(cat.LoadCatalogue(write("\x9A\xE8\xB9 - 528\n\xC4\x8D\n"), nullptr));
    EXPECT_EQ(cat.entry(1), QString::fromUtf8("ščą - 528"));
    EXPECT_EQ(cat.entry(2), QString::fromUtf8("ÄŤ"));
}

TEST(TextCodec, Windows1250KeepsEveryByte)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    const QString text = DecodeWindows1250(all);
    ASSERT_EQ(text.size(), 256);
    // ASCII unchanged; spot checks across the upper half.
    for (int b = 0; b < 128; ++b)
        EXPECT_EQ(text[b].unicode(), b);
    EXPECT_EQ(text[0x80].unicode(), 0x20AC); // €
    EXPECT_EQ(text[0x8A].unicode(), 0x0160); // Š
    EXPECT_EQ(text[0x9A].unicode(), 0x0161); // š
    EXPECT_EQ(text[0xA0].unicode(), 0x00A0);
    EXPECT_EQ(text[0xB9].unicode(), 0x0105); // ą
    EXPECT_EQ(text[0xE8].unicode(), 0x010D); // č
    EXPECT_EQ(text[0xFF].unicode(), 0x02D9); // ˙
    // Unassigned bytes keep their value rather than becoming U+FFFD.
    for (int b : {0x81, 0x83, 0x88, 0x90, 0x98})
        EXPECT_EQ(text[b].unicode(), b);
    // No two bytes give the same character.
    QSet<QChar> seen(text.begin(), text.end());
    EXPECT_EQ(seen.size(), 256);
}

TEST(TextCodec, Utf8Validation)
{
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("\xC5\xA1\xE2\x82\xAC\xF0\x9F\x8E\xB5"));
    EXPECT_FALSE(IsValidUtf8("\x9A"));             // lone continuation byte
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));         // overlong
    EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));     // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")); // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xC5"));             // cut short
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));
}

} // namespace

// Only a regular file of at most 64 MiB is read; anything else is refused at
// once with the file's name and the reason (a pipe would hang the start, a
// device or a huge line would exhaust memory).
TEST_F(Loader, RefusesWhatIsNotAModestRegularFile)
{
    const QString fifo = dir.filePath("fifo.db"), zero = dir.filePath("zero.db"), huge = dir.filePath("huge.db");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", zero));
    {
        QFile f(huge); // sparse: one 1 GiB line of zero bytes
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.resize(qint64(1) << 30));
    }
    const struct {
        QString path;
        const char *reason;
    } cases[] = {{fifo, "not a regular file"}, {zero, "not a regular file"}, {huge, "too large"}};
    for (const auto &c : cases) {
        QString error;
        EXPECT_FALSE(cat.LoadCatalogue(c.path, &error)) << c.reason;
        EXPECT_TRUE(error.contains(QFileInfo(c.path).fileName()) && error.contains(c.reason)) << error.toStdString();
    }
}

// A catalogue saved as UTF-16 (as some Windows editors do), with or without
// its byte order mark, reads as the same text as in UTF-8.
TEST_F(Loader, Utf16IsRead)
{
    const QString text = QStringLiteral("\u0160\u00e9ance - 528,741\r\nZweite \u20ac - 10\nDrei");
    QByteArray le(reinterpret_cast<const char *>(text.utf16()), text.size() * 2), be = le;
    for (qsizetype i = 0; i + 1 < be.size(); i += 2)
        std::swap(be[i], be[i + 1]);
    const QByteArray cases[] = {"\xFF\xFE" + le, "\xFE\xFF" + be, le, be};
    cat.setCatalogueLineCount(3);
    for (const QByteArray &bytes : cases) {
        QString error;
        ASSERT_TRUE(cat.LoadCatalogue(write(bytes), &error)) << error.toStdString();
        EXPECT_EQ(cat.entry(1), QStringLiteral("\u0160\u00e9ance - 528,741"));
        EXPECT_EQ(cat.entry(2), QStringLiteral("Zweite \u20ac - 10"));
        EXPECT_EQ(cat.entry(3), QStringLiteral("Drei"));
    }
}
