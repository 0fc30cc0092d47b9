// The user's own treatments in the main window: edits through the window's
// commands leave the rest of the file byte for byte, a failed save keeps the
// editor open, an own entry is searched, played and remembered like a
// catalogue entry, the editor checks as it is typed and Listen plays through
// the engine, and the list's keys in the search box.
#include "app/mainwindow.h"
#include "app/own_treatment_actions.h"
#include "app/treatment_editor.h"
#include "catalogue/cataloguelistmodel.h"
#include "platform/platform.h"
#include "treatment/own_treatments.h"

#include "../treatment/fake_engine.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using namespace helicordia;

namespace {

class TestPlatform : public Platform {
public:
    QTemporaryDir dir;
    QStringList messages;
    bool answer = true;
    void message(const QString &, const QString &text) override { messages << text; }
    bool question(const QString &, const QString &) override { return answer; }
    void endProgram(int) override {}
    QString programFolder() const override { return dir.path(); }
    QString userDataFolder() const override { return dir.filePath("user"); }
    std::unique_ptr<QSettings> openSettings() override { return nullptr; }
    bool openUrl(const QUrl &) override { return true; }
};

void Write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class OwnTreatmentsWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestPlatform> platform;
    std::unique_ptr<MainWindow> window;
    QList<int> playedNumbers;
    QStringList playedLists;

    QString ownFile() const { return platform->userFile(QStringLiteral("my-treatments.txt")); }
    bool start(const QByteArray &own)
    {
        if (!own.isNull())
            Write(ownFile(), own);
        window = std::make_unique<MainWindow>(*platform);
        window->setPlayerStart([this](int n, const QString &, const QString &f) {
            playedNumbers << n;
            playedLists << f;
        });
        if (!window->Form_Load())
            return false;
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }
    CatalogueListModel *model() const { return static_cast<CatalogueListModel *>(window->catalogueList()->model()); }

private slots:
    void init()
    {
        platform = std::make_unique<TestPlatform>();
        QImage background(623, 460, QImage::Format_RGB32);
        background.fill(Qt::gray);
        QVERIFY(background.save(platform->dir.filePath("Background_5.jpg"), "JPG"));
        QByteArray catalogue;
        for (int n = 1; n <= 1553; ++n)
            catalogue += n == 2 ? "Evening calm (catalogue) - 528\n" : "Filler - 440\n";
        Write(platform->dir.filePath("db.db"), catalogue);
        playedNumbers.clear();
        playedLists.clear();
    }
    void cleanup() { window.reset(); }

    void editsKeepEveryOtherLineByteForByte()
    {
        const QByteArray kept = "A note, not a treatment\r\nBroken - xyz,,\r\n";
        QVERIFY(start("Calm - 432\r\n" + kept + "Last - 1"));
        OwnTreatmentActions &actions = window->ownActions();
        QVERIFY(actions.saveTreatment(0, "New", "528"));         // add
        QVERIFY(actions.saveTreatment(1, "Calm", " 432, 528 ")); // edit
        window->showEntry({true, 1});
        actions.deleteSelected();
        QCOMPARE(window->ownTreatments().count(), 4);
        actions.undoDelete();
        QCOMPARE(window->selectedEntry(), (EntryRef{true, 1}));
        QCOMPARE(Read(ownFile()), "Calm - 432, 528\r\n" + kept + "Last - 1\r\nNew - 528\r\n");
        // The unusable lines are listed, greyed, with the reason in their tip.
        QCOMPARE(model()->rowCount(), 1553 + 5);
        QVERIFY(!model()->index(model()->rowOf({true, 3}), 0).data(CatalogueListModel::PlayableRole).toBool());
        QVERIFY(window->ownTreatments().problem(2).contains("\" - \""));
        QVERIFY(platform->messages.isEmpty());
    }

    void aFailedSaveKeepsTheEditorOpenAndNamesTheFile()
    {
        QVERIFY(start(QByteArray()));
        Write(platform->userDataFolder(), "a file where the folder should be");
        bool ran = false;
        window->ownActions().setEditorRunner([&](TreatmentEditor &editor) {
            editor.nameBox()->setText("Calm");
            editor.frequenciesBox()->setText("432");
            QTest::mouseClick(editor.okButton(), Qt::LeftButton);
            QCOMPARE(editor.result(), int(QDialog::Rejected));
            QCOMPARE(editor.frequenciesBox()->text(), QString("432"));
            ran = true;
        });
        window->ownActions().newTreatment();
        QVERIFY(ran);
        QCOMPARE(platform->messages.size(), 1);
        QVERIFY(platform->messages[0].contains(QDir::toNativeSeparators(ownFile())));
        QCOMPARE(window->ownTreatments().count(), 0);
    }

    void anOwnEntryIsSearchedPlayedAndRemembered()
    {
        QVERIFY(start("Evening calm - 432,528\nBroken calm - x\n"));
        window->searchBox()->setText("calm");
        QCOMPARE(window->matchCountLabel()->text(), QString("3"));
        QCOMPARE(model()->itemText(1), QString("+0001. Evening calm "));
        window->catalogueList()->setCurrentIndex(model()->index(1, 0));
        window->playButton_Click();
        QCOMPARE(playedNumbers, QList<int>{-1});
        QCOMPARE(playedLists, QStringList{"432,528"});
        QCOMPARE(window->recentNames().value(0), QString("Evening calm"));
        window->recentList()->setCurrentRow(0);
        window->recentList_Click(); // the catalogue's "Evening calm (catalogue)" and the user's own
        QCOMPARE(window->matchCountLabel()->text(), QString("2"));
        window->showEntry({true, 2});
        window->playButton_Click();
        QCOMPARE(playedNumbers.size(), 1);
        QVERIFY(platform->messages.value(0).contains("+0002. Broken calm"));
    }

    void theEditorChecksAsItIsTypedAndListens()
    {
        test::RecordingEngine engine;
        TreatmentEditor editor("New treatment", "Calm", "7.83,abc", {}, &engine, *platform);
        QVERIFY(editor.checksLabel()->text().contains("piece 1, «7.83», is below 20 Hz"));
        QVERIFY(editor.checksLabel()->text().contains("piece 2, «abc», is not a number: it is silent."));
        QVERIFY(editor.okButton()->isEnabled());
        editor.nameBox()->clear();
        QVERIFY(!editor.okButton()->isEnabled());
        QVERIFY(editor.checksLabel()->text().startsWith("Give the treatment a name."));

        QTest::mousePress(editor.listenButton(), Qt::LeftButton);
        QCOMPARE(engine.named("Tone_Channel_SetFrequency").value(0), QString("Tone_Channel_SetFrequency(33,783)"));
        QCOMPARE(engine.named("Tone_Channel_SetPaused"), QStringList{"Tone_Channel_SetPaused(33,0)"});
        QVERIFY(engine.named("Tone_Channel_Stop").isEmpty());
        QTest::mouseRelease(editor.listenButton(), Qt::LeftButton);
        QCOMPARE(engine.named("Tone_Channel_Stop").size(), 1);
        QCOMPARE(engine.named("Tone_System_Release").size(), 1);
    }

    void copyToOwnOpensTheEditorFilledWithTheEntry()
    {
        QVERIFY(start(QByteArray()));
        QStringList shown;
        window->ownActions().setEditorRunner([&](TreatmentEditor &editor) {
            shown << editor.nameBox()->text() << editor.frequenciesBox()->text();
            editor.accept();
        });
        window->showEntry({false, 2});
        window->catalogueList()->setFocus();
        QTest::keyClick(window->catalogueList(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(shown, (QStringList{"Evening calm (catalogue)", "528"}));
        QCOMPARE(Read(ownFile()), QByteArray("Evening calm (catalogue) - 528\n"));
        QCOMPARE(window->selectedEntry(), (EntryRef{true, 1}));
    }

    void theListsKeysWorkInTheSearchBox()
    {
        QVERIFY(start("Calm - 432\n"));
        window->searchBox()->setFocus();
        QTest::keyClicks(window->searchBox(), "calm");
        window->showEntry({true, 1});
        window->searchBox()->setCursorPosition(2);
        QTest::keyClick(window->searchBox(), Qt::Key_Delete); // the text has something to delete
        QCOMPARE(window->searchBox()->text(), QString("cam"));
        QCOMPARE(window->ownTreatments().count(), 1);
        window->searchBox()->setText("calm");
        window->showEntry({true, 1});
        window->searchBox()->deselect();
        window->searchBox()->end(false);
        QTest::keyClick(window->searchBox(), Qt::Key_Delete);
        QCOMPARE(window->ownTreatments().count(), 0);
        QTest::keyClick(window->searchBox(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(window->ownTreatments().count(), 1);
        QCOMPARE(window->searchBox()->text(), QString("calm"));
    }
};

QTEST_MAIN(OwnTreatmentsWindowTest)
#include "own_treatments_window_test.moc"
