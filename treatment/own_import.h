// Treatments imported from a text file: lines in the catalogue's format,
// or with a ";" or a tab in place of " - " (as they come from a spreadsheet),
// each checked as the editor checks it. Nothing here changes anything: the
// plan says what would be added and what would not, and why.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

namespace helicordia {

class OwnTreatments;

class ImportPlan {
    Q_DECLARE_TR_FUNCTIONS(ImportPlan)
public:
    // Lines past this many are not read.
    static constexpr int MaxLines = 28300;

    struct Refused {
        int line = 0; // from 1
        QString text;
        QString reason;
    };

    // Plans the import of a file's bytes (read as the catalogue is) into `own`.
    ImportPlan(const QByteArray &bytes, const OwnTreatments &own);

    // The lines to add, each as "name - frequencies".
    const QStringList &lines() const { return lines_; }
    const std::vector<Refused> &refused() const { return refused_; }
    bool cutShort() const { return cutShort_; }

    // "5 lines can be added to your own treatments; 2 cannot:" and a line for
    // each refused one (at most `listed`, then how many more).
    QString summary(int listed = 20) const;

private:
    void take(int number, const QString &text, const OwnTreatments &own);

    QStringList lines_;
    QSet<QString> known_; // the user's lines and those taken so far
    std::vector<Refused> refused_;
    bool cutShort_ = false;
};

} // namespace helicordia
