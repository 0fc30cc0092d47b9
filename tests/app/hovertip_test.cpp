// What one mouse move over the catalogue list says to the tooltip object.
#include "app/hovertip.h"
#include "catalogue/entrytext.h"
#include "tests/tooltip/recording_control.h"

#include <QTest>

using namespace helicordia;
using namespace helicordia::testing;

class HoverTipTest : public QObject {
    Q_OBJECT
    QStringList log;
    QWidget form;
    QWidget *list = new QWidget(&form);

private slots:
    void initTestCase()
    {
        form.setObjectName("form");
        list->setObjectName("list");
    }

    void oneMove_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("ownProblem"); // "-": a catalogue entry
        QTest::addColumn<QStringList>("sent");
        const QStringList add{"TTM_GETTOOLCOUNT 0", "TTM_GETTOOLCOUNT 0", "TTM_ADDTOOLA 0 {44 17 form list \"Tool1\"}",
                              "TTM_SETDELAYTIME 2 4000"};
        const QStringList find{"TTM_GETTOOLCOUNT 0", "TTM_ENUMTOOLSA 0 {44 0 0 0}"};
        QTest::newRow("playable")
            << "Alpha complaint (example) - 10,20"
            << "-"
            << add + QStringList{"TTM_SETTITLEA 1 \"Alpha complaint \"", "TTM_SETTIPBKCOLOR 14483455"} + find +
                   QStringList{"TTM_UPDATETIPTEXTA 0 {44 17 form list \"Alpha complaint (example) \"}"};
        QTest::newRow("playable without (")
            << "Beta - 528"
            << "-"
            << add + QStringList{"TTM_SETTITLEA 1 \"Beta \"", "TTM_SETTIPBKCOLOR 14483455"} + find +
                   QStringList{"TTM_UPDATETIPTEXTA 0 {44 17 form list \"Beta \"}"};
        QTest::newRow("descriptive")
            << "How to use (read first)"
            << "-"
            << add + QStringList{"TTM_SETTITLEA 1 \"How to use \"", "TTM_SETTIPBKCOLOR 14450175"} + find +
                   QStringList{"TTM_UPDATETIPTEXTA 0 {44 17 form list \"How to use (read first)\"}"};
        QTest::newRow("empty space") << QString() << "-"
                                     << add + QStringList{"TTM_SETTIPBKCOLOR 14450175"} + find +
                                            QStringList{"TTM_UPDATETIPTEXTA 0 {44 17 form list \"\"}"};
        QTest::newRow("own, playable") << "Calm (evening) - 432"
                                       << ""
                                       << add + QStringList{"TTM_SETTITLEA 1 \"Calm \"", "TTM_SETTIPBKCOLOR 14483455"} +
                                              find +
                                              QStringList{"TTM_UPDATETIPTEXTA 0 {44 17 form list \"Calm (evening) \"}"};
        QTest::newRow("own, not playable")
            << "Odd - x"
            << "It cannot be played."
            << add + QStringList{"TTM_SETTITLEA 1 \"Odd \"", "TTM_SETTIPBKCOLOR 14450175"} + find +
                   QStringList{"TTM_UPDATETIPTEXTA 0 {44 17 form list \"Odd \nIt cannot be played.\"}"};
    }
    void oneMove()
    {
        QFETCH(QString, line);
        QFETCH(QString, ownProblem);
        QFETCH(QStringList, sent);
        log.clear();
        cTooltip tooltip = RecordingTooltip(log);
        tooltip.create(&form);
        const bool own = ownProblem != "-";
        const QString text = own ? FormatOwnEntryText(line, 7) : FormatEntryText(line, 7);
        UpdateListTip(tooltip, list, line.isNull() ? nullptr : &text, own ? &ownProblem : nullptr);
        QCOMPARE(log, sent);
    }

    void manyMovesRegisterTheListOnce()
    {
        log.clear();
        cTooltip tooltip = RecordingTooltip(log);
        tooltip.create(&form);
        const QString texts[] = {FormatEntryText("A (x) - 1", 1), FormatEntryText("B", 2)};
        for (int i = 0; i < 50; ++i)
            UpdateListTip(tooltip, list, i % 3 == 2 ? nullptr : &texts[i % 3]);
        QCOMPARE(log.filter("TTM_ADDTOOLA").size(), 1);
        QCOMPARE(tooltip.ToolCount(), 1);
        QCOMPARE(tooltip.ToolText(list), "B");
        QCOMPARE(tooltip.Title(), "B");
    }

    void aFailingStepIsSkipped()
    {
        log.clear();
        cTooltip tooltip = RecordingTooltip(log);
        tooltip.create(&form);
        QWidget loose; // no container: registering fails, the rest goes on
        const QString text = FormatEntryText("A - 1", 1);
        UpdateListTip(tooltip, &loose, &text);
        QCOMPARE(log, (QStringList{"TTM_SETDELAYTIME 2 4000", "TTM_SETTITLEA 1 \"A \"", "TTM_SETTIPBKCOLOR 14483455",
                                   "TTM_GETTOOLCOUNT 0"}));
    }
};

QTEST_MAIN(HoverTipTest)
#include "hovertip_test.moc"
