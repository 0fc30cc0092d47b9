#include "treatment/own_treatments.h"

#include "catalogue/entrytext.h"
#include "catalogue/textcodec.h"
#include "platform/user_files.h"

#include <QDir>

#include <algorithm>

namespace helicordia {

namespace {

const QByteArray Utf8ByteOrderMark("\xEF\xBB\xBF");

// The line break after the line that ends at `pos`, as the catalogue's reader
// cuts lines: CR LF, LF or a lone CR; nothing at the end of the text.
QByteArray LineBreakAt(const QByteArray &bytes, qsizetype pos)
{
    if (pos >= bytes.size())
        return QByteArray();
    if (bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n')
        return QByteArrayLiteral("\r\n");
    return bytes.mid(pos, 1);
}

} // namespace

OwnTreatments::OwnTreatments(double outputRate) : outputRate_(outputRate) {}

QString OwnTreatments::load(const QString &path)
{
    path_ = path;
    takeLines(QByteArray());
    const FileRead file = ReadRegularFile(path, MaxFileBytes);
    readError_ = file.error;
    if (!file.error.isEmpty())
        return tr("Your own treatments could not be read, so they are not listed, and nothing will be saved to "
                  "their file until it can be read.\n\n%1")
            .arg(file.error);
    takeLines(file.bytes);
    if (!tail_.isEmpty())
        return tr("Only the first %1 lines of your own treatments in \"%2\" are listed; the rest stays in the file "
                  "as it is.")
            .arg(MaxLines)
            .arg(QDir::toNativeSeparators(path));
    return QString();
}

void OwnTreatments::takeLines(const QByteArray &bytes)
{
    lines_.clear();
    removed_.reset();
    byteOrderMark_.clear();
    CatalogueText read = ReadCatalogueText(bytes, MaxLines);
    // A file in UTF-16 is kept as the same text in UTF-8 from its first change on.
    const QByteArray &source = read.fromUtf16.isNull() ? bytes : read.fromUtf16;
    utf8_ = read.utf8;
    qsizetype pos = 0;
    lines_.reserve(read.lines.size());
    for (size_t i = 0; i < read.lines.size(); ++i) {
        Line line;
        line.raw = std::move(read.raw[i]);
        pos += line.raw.size();
        if (i == 0 && utf8_ && line.raw.startsWith(Utf8ByteOrderMark)) {
            byteOrderMark_ = Utf8ByteOrderMark;
            line.raw.remove(0, Utf8ByteOrderMark.size());
        }
        line.lineBreak = LineBreakAt(source, pos);
        pos += line.lineBreak.size();
        line.text = std::move(read.lines[i]);
        lines_.push_back(std::move(line));
    }
    tail_ = source.mid(pos);
}

QString OwnTreatments::line(int n) const
{
    return n >= 1 && n <= count() ? lines_[static_cast<size_t>(n) - 1].text : QString();
}

QString OwnTreatments::name(int n) const
{
    const QString text = line(n);
    const qsizetype separator = FindEntrySeparator(text);
    return (separator >= 0 ? text.left(separator) : text).trimmed();
}

QString OwnTreatments::frequencies(int n) const
{
    return EntryFrequencies(line(n));
}

QString OwnTreatments::problem(int n) const
{
    if (n < 1 || n > count())
        return QString();
    const Line &entry = lines_[static_cast<size_t>(n) - 1];
    if (!entry.problem)
        entry.problem = TreatmentCheck::LineProblem(entry.text, outputRate_);
    return *entry.problem;
}

int OwnTreatments::findName(const QString &name, int except) const
{
    const QString wanted = name.trimmed();
    for (int n = 1; n <= count(); ++n)
        if (n != except && FindEntrySeparator(line(n)) >= 0 && this->name(n) == wanted)
            return n;
    return 0;
}

OwnTreatments::Line OwnTreatments::makeLine(const QString &text, const QByteArray &lineBreak) const
{
    Line line;
    line.text = text;
    line.lineBreak = lineBreak;
    // A file in Windows-1250 stays in it while its characters suffice.
    const std::optional<QByteArray> legacy = utf8_ ? std::nullopt : EncodeWindows1250(text);
    line.raw = legacy ? *legacy : text.toUtf8();
    return line;
}

QString OwnTreatments::refused() const
{
    if (path_.isEmpty())
        return tr("There is no file for your own treatments.");
    return tr("Your own treatments were not read, so nothing is saved to their file.\n\n%1").arg(readError_);
}

QString OwnTreatments::add(const QStringList &newLines)
{
    if (!readError_.isEmpty() || path_.isEmpty())
        return refused();
    if (count() + newLines.size() > MaxLines)
        return tr("Your own treatments can hold at most %1 lines.").arg(MaxLines);
    std::vector<Line> lines = lines_;
    const QByteArray lineBreak =
        lines.empty() || lines.front().lineBreak.isEmpty() ? QByteArrayLiteral("\n") : lines.front().lineBreak;
    if (!lines.empty() && lines.back().lineBreak.isEmpty())
        lines.back().lineBreak = lineBreak;
    for (const QString &text : newLines)
        lines.push_back(makeLine(text, lineBreak));
    return commit(std::move(lines));
}

QString OwnTreatments::replace(int n, const QString &text, int remove)
{
    if (!readError_.isEmpty() || path_.isEmpty())
        return refused();
    if (n < 1 || n > count() || remove < 0 || remove > count() || remove == n)
        return tr("That treatment is no longer in the list.");
    std::vector<Line> lines = lines_;
    lines[static_cast<size_t>(n) - 1] = makeLine(text, lines[static_cast<size_t>(n) - 1].lineBreak);
    if (remove > 0)
        lines.erase(lines.begin() + (remove - 1));
    return commit(std::move(lines));
}

QString OwnTreatments::remove(int n)
{
    if (!readError_.isEmpty() || path_.isEmpty())
        return refused();
    if (n < 1 || n > count())
        return tr("That treatment is no longer in the list.");
    std::vector<Line> lines = lines_;
    Line removed = lines[static_cast<size_t>(n) - 1];
    lines.erase(lines.begin() + (n - 1));
    QString error = commit(std::move(lines));
    if (error.isEmpty())
        removed_.emplace(n, std::move(removed));
    return error;
}

QString OwnTreatments::undoRemove(int *number)
{
    if (!removed_)
        return QString();
    if (!readError_.isEmpty() || path_.isEmpty())
        return refused();
    std::vector<Line> lines = lines_;
    const int at = std::min(removed_->first, count() + 1);
    Line line = removed_->second;
    const QByteArray lineBreak = line.lineBreak.isEmpty() ? QByteArrayLiteral("\n") : line.lineBreak;
    if (at <= count() && line.lineBreak.isEmpty())
        line.lineBreak = lineBreak; // it was the last line; now others follow
    if (at > 1 && lines[static_cast<size_t>(at) - 2].lineBreak.isEmpty())
        lines[static_cast<size_t>(at) - 2].lineBreak = lineBreak;
    lines.insert(lines.begin() + (at - 1), std::move(line));
    QString error = commit(std::move(lines));
    if (error.isEmpty()) {
        removed_.reset();
        if (number)
            *number = at;
    }
    return error;
}

QString OwnTreatments::commit(std::vector<Line> lines)
{
    // A character that Windows-1250 lacks turns the whole file into UTF-8;
    // every line keeps its text.
    const bool toUtf8 = !utf8_ && std::any_of(lines.begin(), lines.end(),
                                              [](const Line &line) { return !EncodeWindows1250(line.text); });
    if (toUtf8)
        for (Line &line : lines)
            line.raw = line.text.toUtf8();
    const QString error = WriteFileAtomically(path_, bytesOf(lines));
    if (!error.isEmpty())
        return tr("Your own treatments could not be saved to \"%1\", so the change was not made.\n\n%2")
            .arg(QDir::toNativeSeparators(path_), error);
    lines_ = std::move(lines);
    utf8_ = utf8_ || toUtf8;
    return QString();
}

QByteArray OwnTreatments::bytesOf(const std::vector<Line> &lines) const
{
    QByteArray bytes = byteOrderMark_;
    for (const Line &line : lines)
        bytes += line.raw + line.lineBreak;
    return bytes + tail_;
}

QByteArray OwnTreatments::fileBytes() const
{
    return bytesOf(lines_);
}

void OwnTreatments::findOwnEntries(const QString &search, std::vector<int> &found) const
{
    found.clear();
    const QString needle = FoldCase(search);
    for (int n = 1; n <= count(); ++n) {
        const Line &line = lines_[static_cast<size_t>(n) - 1];
        if (line.text.isEmpty())
            continue; // an empty line is never found, as in the catalogue
        if (line.folded.isEmpty())
            line.folded = FoldCase(line.text);
        if (line.folded.contains(needle))
            found.push_back(n);
    }
}

QString OwnTreatments::ownListText(int number) const
{
    return number >= 1 && number <= count() ? FormatOwnEntryText(lines_[static_cast<size_t>(number) - 1].text, number)
                                            : QString();
}

} // namespace helicordia
