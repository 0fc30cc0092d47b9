// The history window and the resume question in the running program: the
// rows newest first with their search, Enter plays the row again, the CSV
// export, and Yes / No to a treatment cut short.
#include "app/history_chart.h"
#include "app/history_window.h"
#include "app/list_commands.h"
#include "app/program.h"
#include "tests/treatment/fake_engine.h"
#include "tests/treatment/fake_platform.h"

#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace helicordia;

namespace {

class AnsweringPlatform : public test::RecordingPlatform {
public:
    using RecordingPlatform::RecordingPlatform;
    bool answer = false;
    QStringList questions;
    bool question(const QString &, const QString &text) override
    {
        questions << text;
        return answer;
    }
};

HistoryRecord Record(const char *name, QDate day, TreatmentEnding ending, int heard)
{
    HistoryRecord r;
    r.started = QDateTime(day, QTime(9, 30));
    r.id = "1", r.name = name, r.frequencies = "528,741", r.plannedSeconds = 900, r.heardSeconds = heard;
    r.ending = ending;
    return r;
}

} // namespace

class HistoryWindowTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir, locks;

private slots:
    void initTestCase()
    {
        QStringList lines(1553, "Filler - 440");
        lines[0] = "Alpha - 528,741";
        QFile db(dir.filePath("db.db"));
        QVERIFY(db.open(QIODevice::WriteOnly));
        db.write(lines.join("\r\n").toUtf8());
        db.close();
        QImage background(623, 460, QImage::Format_RGB32);
        background.fill(Qt::gray);
        QVERIFY(background.save(dir.filePath("Background_5.jpg"), "JPG"));
    }

    void listsSearchesPlaysAndExports()
    {
        const QDate today(2026, 12, 7);
        const QString path = dir.filePath("history.jsonl");
        for (const HistoryRecord &r : {Record("Alpha", today.addDays(-40), TreatmentEnding::Completed, 900),
                                       Record("Beta", today.addDays(-1), TreatmentEnding::Interrupted, 300),
                                       Record("Alpha", today, TreatmentEnding::Stopped, 120)})
            QCOMPARE(History::append(path, r), QString());
        test::RecordingPlatform platform(dir.path());
        QList<HistoryRecord> played;
        HistoryWindow window(platform, path, [&](const HistoryRecord &r) { played << r; });
        window.reload(today);

        QCOMPARE(window.table()->topLevelItemCount(), 3);
        QCOMPARE(window.table()->topLevelItem(0)->text(0), "2026-12-07 09:30");
        QCOMPARE(window.table()->topLevelItem(0)->text(2), "2:00 of 15:00");
        QCOMPARE(window.table()->topLevelItem(1)->text(3), "interrupted");
        // The picture: the last 30 days only, by ending.
        const auto &days = window.chart()->days();
        QCOMPARE(days.back()[int(TreatmentEnding::Stopped)], 120);
        QCOMPARE(days[28][int(TreatmentEnding::Interrupted)], 300);
        QVERIFY(window.chart()->grab().size().isValid());

        window.searchBox()->setText("alp");
        QCOMPARE(window.table()->topLevelItemCount(), 2);
        window.table()->setFocus();
        window.table()->setCurrentItem(window.table()->topLevelItem(1));
        QTest::keyClick(window.table(), Qt::Key_Return);
        QCOMPARE(played.size(), 1);
        QCOMPARE(played[0].heardSeconds, 900);

        window.setFileChooser([&](const QString &) { return dir.filePath("out.csv"); });
        window.exportCsv();
        QFile csv(dir.filePath("out.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QList<QByteArray> rows = csv.readAll().split('\n');
        QCOMPARE(rows.size(), 4); // heading, two rows, and the end of the last line
        QVERIFY(rows[1].contains(",1,Alpha,\"528,741\",900,120,0,0,stopped,"));
    }

    void resumeQuestion_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes") << true;
        QTest::newRow("No") << false;
    }
    void resumeQuestion()
    {
        QFETCH(bool, yes);
        test::RecordingEngine engine;
        AnsweringPlatform platform(dir.path());
        platform.answer = yes;
        ResumePoint point;
        point.id = "1", point.name = "Alpha", point.frequencies = "528,741";
        point.length = 400, point.elapsed = 250, point.index = 2, point.count = 2;
        point.started = QDateTime::currentDateTime();
        QCOMPARE(ResumeFile(platform.userFile(ResumeFileName)).save(point), QString());

        Program program(engine, platform, locks.path());
        QCOMPARE(program.start(), std::nullopt);
        QVERIFY(platform.questions.isEmpty()); // not before the window is there
        QTRY_COMPARE(platform.questions, QStringList{"Resume «Alpha» at frequency 2 of 2, 02:30 left?"});
        const auto records = History::read(platform.userFile(HistoryFileName)).records;
        QCOMPARE(records.size(), size_t(1));
        QCOMPARE(records[0].ending, TreatmentEnding::Interrupted);
        QCOMPARE(program.playerBuilt(), yes);
        if (yes) {
            QCOMPARE(program.player().core().elapsedSeconds(), 250);
            QCOMPARE(program.player().core().currentFrequency(), 2);
            QCOMPARE(program.player().core().treatmentLength(), 400);
            QVERIFY(engine.calls.contains("Tone_Channel_SetFrequency(33,74100)"));
        }
        QCOMPARE(QFile::exists(platform.userFile(ResumeFileName)), yes); // the resumed one keeps its own
        // Ctrl+H and the player's menu open the history.
        QAction *item = program.mainWindow().listCommands().findChild<QAction *>("historyItem");
        QVERIFY(item && item->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_H));
        item->trigger();
        QVERIFY(program.historyWindow() && program.historyWindow()->isVisible());
        QCOMPARE(program.historyWindow()->table()->topLevelItemCount(), 1);
        program.end();
    }
};

QTEST_MAIN(HistoryWindowTest)
#include "history_window_test.moc"
