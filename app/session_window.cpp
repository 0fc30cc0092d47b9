#include "app/session_window.h"

#include "platform/application.h"
#include "platform/platform.h"
#include "platform/user_files.h"
#include "treatment/export/session_export.h"
#include "treatment/player_export.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace helicordia {

namespace {

enum Column { NameColumn, LengthColumn };

// The buttons' texts and tips, by the buttons' names.
struct ButtonText {
    const char *name;
    const char *text;
    const char *tip;
};
const ButtonText ButtonTexts[] = {
    {"moveUpButton", QT_TRANSLATE_NOOP("helicordia::SessionWindow", "Move up"),
     QT_TRANSLATE_NOOP("helicordia::SessionWindow", "Alt+Up")},
    {"moveDownButton", QT_TRANSLATE_NOOP("helicordia::SessionWindow", "Move down"),
     QT_TRANSLATE_NOOP("helicordia::SessionWindow", "Alt+Down")},
    {"removeButton", QT_TRANSLATE_NOOP("helicordia::SessionWindow", "Remove"),
     QT_TRANSLATE_NOOP("helicordia::SessionWindow", "Delete")},
    {"clearButton", QT_TRANSLATE_NOOP("helicordia::SessionWindow", "Clear"), nullptr},
    {"openButton", QT_TRANSLATE_NOOP("helicordia::SessionWindow", "Open…"), nullptr},
    {"saveButton", QT_TRANSLATE_NOOP("helicordia::SessionWindow", "Save…"), nullptr},
    {"playButton", QT_TRANSLATE_NOOP("helicordia::SessionWindow", "Play"), nullptr},
    {"exportButton", QT_TRANSLATE_NOOP("helicordia::SessionWindow", "Export session…"), nullptr},
};

} // namespace

SessionWindow::SessionWindow(const TreatmentFinder &finder, Platform &platform, QWidget *parent)
    : QWidget(parent, Qt::Window), finder_(finder), platform_(platform)
{
    setObjectName(QStringLiteral("sessionWindow"));
    chooseFile_ = [this](bool forSaving, const QString &suggested) {
        const QString filter = tr("Sessions (*.%1);;All files (*)").arg(QLatin1String(SessionFileSuffix));
        return forSaving ? QFileDialog::getSaveFileName(this, tr("Save session"), suggested, filter)
                         : QFileDialog::getOpenFileName(this, tr("Open session"), suggested, filter);
    };
    exporter_ = new PlayerExport(*this, platform);
    exporter_->setObjectName(QStringLiteral("sessionExport"));
    buildControls();
    retranslate();
    resize(520, 380);
}

void SessionWindow::addButton(QPushButton *&button, const char *name, std::function<void()> run)
{
    button = new QPushButton(this);
    button->setObjectName(QLatin1String(name));
    connect(button, &QPushButton::clicked, this, std::move(run));
}

// The window's texts in the current language.
void SessionWindow::retranslate()
{
    setWindowTitle(tr("Session"));
    setAccessibleName(tr("Session"));
    exporter_->setTitle(tr("Export session"));
    list_->setAccessibleName(tr("Treatments of the session"));
    list_->setHorizontalHeaderLabels({tr("Treatment"), tr("Length")});
    repeatCaption_->setText(tr("&Repeat count:"));
    for (const ButtonText &b : ButtonTexts) {
        auto *button = findChild<QPushButton *>(QLatin1String(b.name));
        button->setText(tr(b.text));
        button->setAccessibleName(tr(b.text).remove(QChar(0x2026)));
        if (b.tip)
            button->setToolTip(tr(b.tip));
    }
    showSession(selectedRow());
}

void SessionWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void SessionWindow::addKey(const QKeySequence &key, std::function<void()> run)
{
    auto *action = new QAction(this);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, std::move(run));
    addAction(action);
}

void SessionWindow::buildControls()
{
    list_ = new QTableWidget(0, 2, this);
    list_->setObjectName(QStringLiteral("sessionList"));
    list_->horizontalHeader()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    list_->horizontalHeader()->setSectionResizeMode(LengthColumn, QHeaderView::ResizeToContents);
    list_->verticalHeader()->setVisible(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    connect(list_, &QTableWidget::itemChanged, this, &SessionWindow::lengthEdited);

    repeatCaption_ = new QLabel(this);
    repeat_ = new QSpinBox(this);
    repeat_->setObjectName(QStringLiteral("repeatBox"));
    repeat_->setAccessibleName(tr("Repeat count"));
    repeat_->setRange(SessionSchedule::MinRepeat, SessionSchedule::MaxRepeat);
    repeatCaption_->setBuddy(repeat_);
    connect(repeat_, &QSpinBox::valueChanged, this, [this](int value) {
        if (showing_)
            return;
        session_.repeat = value;
        changed(selectedRow());
    });
    total_ = new QLabel(this);
    total_->setObjectName(QStringLiteral("totalLabel"));
    total_->setAccessibleName(tr("Total length"));

    buildButtons();

    auto *figures = new QHBoxLayout;
    figures->addWidget(repeatCaption_);
    figures->addWidget(repeat_);
    figures->addStretch();
    figures->addWidget(total_);
    auto *editing = new QHBoxLayout;
    for (QPushButton *b : {upButton_, downButton_, removeButton_, clearButton_})
        editing->addWidget(b);
    auto *files = new QHBoxLayout;
    for (QPushButton *b : {openButton_, saveButton_, playButton_, exportButton_})
        files->addWidget(b);
    auto *column = new QVBoxLayout(this);
    column->addWidget(list_);
    column->addLayout(figures);
    column->addLayout(editing);
    column->addLayout(files);
}

void SessionWindow::buildButtons()
{
    addButton(upButton_, "moveUpButton", [this] { moveSelected(-1); });
    addButton(downButton_, "moveDownButton", [this] { moveSelected(+1); });
    addButton(removeButton_, "removeButton", [this] { removeSelected(); });
    addButton(clearButton_, "clearButton", [this] { clear(); });
    addButton(openButton_, "openButton", [this] { open(); });
    addButton(saveButton_, "saveButton", [this] { save(); });
    addButton(playButton_, "playButton", [this] { play(); });
    addButton(exportButton_, "exportButton", [this] { exportSession(); });
    addKey(QKeySequence(Qt::ALT | Qt::Key_Up), [this] { moveSelected(-1); });
    addKey(QKeySequence(Qt::ALT | Qt::Key_Down), [this] { moveSelected(+1); });
    addKey(QKeySequence(QKeySequence::Delete), [this] { removeSelected(); });
}

// Fills the list, the repeat count and the total from the session.
void SessionWindow::showSession(int selectRow)
{
    showing_ = true;
    const SessionPlan plan = this->plan();
    const QSignalBlocker block(list_);
    list_->setRowCount(int(session_.rows.size()));
    for (int row = 0; row < int(session_.rows.size()); ++row) {
        const SessionTreatment &t = plan.rows()[std::size_t(row)];
        auto *name = new QTableWidgetItem(t.playable() ? t.name : tr("%1 (missing)").arg(t.name));
        name->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        auto *length = new QTableWidgetItem(SessionLengthText(t.lengthSeconds));
        length->setFlags(t.playable() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable
                                      : Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        if (!t.playable()) {
            const QString tip = tr("Not found among the catalogue and your treatments: passed over when the "
                                   "session plays.");
            for (QTableWidgetItem *item : {name, length}) {
                item->setForeground(QColor(128, 128, 128));
                item->setToolTip(tip);
            }
        } else {
            const SliderSetup slider = TreatmentSliderSetup(t.frequencyCount);
            length->setToolTip(
                tr("From %1 to %2").arg(SessionLengthText(slider.minimum), SessionLengthText(slider.maximum)));
        }
        list_->setItem(row, NameColumn, name);
        list_->setItem(row, LengthColumn, length);
    }
    repeat_->setValue(session_.repeat);
    total_->setText(tr("Total: %1").arg(SessionLengthText(plan.schedule().totalSeconds())));
    if (selectRow >= 0 && selectRow < list_->rowCount())
        list_->selectRow(selectRow);
    const bool any = !session_.rows.empty();
    for (QPushButton *b : {upButton_, downButton_, removeButton_, clearButton_, saveButton_})
        b->setEnabled(any);
    playButton_->setEnabled(!plan.isEmpty());
    exportButton_->setEnabled(!plan.isEmpty());
    showing_ = false;
}

void SessionWindow::changed(int selectRow)
{
    showSession(selectRow);
    if (keptIn_.isEmpty())
        return;
    // Reported once, not at every change.
    const QString error = WriteFileAtomically(keptIn_, session_.fileBytes());
    if (!error.isEmpty() && !keepFailed_)
        report(error);
    keepFailed_ = !error.isEmpty();
}

void SessionWindow::keepIn(const QString &path)
{
    keptIn_ = path;
    const FileRead file = ReadRegularFile(path, Session::MaxFileBytes);
    if (!file.error.isEmpty())
        report(file.error);
    session_ = file.error.isEmpty() && !file.missing ? Session::fromFile(file.bytes) : Session();
    showSession(-1);
}

int SessionWindow::selectedRow() const
{
    const QList<QTableWidgetItem *> selected = list_->selectedItems();
    return selected.isEmpty() ? list_->currentRow() : selected.first()->row();
}

void SessionWindow::report(const QString &error)
{
    if (!error.isEmpty())
        platform_.message(ApplicationTitle, error);
}

void SessionWindow::addTreatment(const FoundTreatment &found)
{
    FrequencyTable table{};
    session_.add(found.name.trimmed(), SuggestedDuration(ParseFrequencyList(found.frequencies, table)));
    changed(int(session_.rows.size()) - 1);
}

void SessionWindow::lengthEdited(QTableWidgetItem *item)
{
    const int row = item->row();
    if (item->column() != LengthColumn || row >= int(session_.rows.size()))
        return;
    const std::optional<int> seconds = ParseSessionLength(item->text());
    if (seconds) {
        const SessionTreatment t = plan().rows()[std::size_t(row)];
        session_.rows[std::size_t(row)].lengthSeconds = SessionTreatmentLength(t.frequencyCount, *seconds);
    } else {
        report(tr("\"%1\" is not a length like 00:09:00.").arg(item->text()));
    }
    // The list is filled again once its editor has closed.
    QMetaObject::invokeMethod(
        this, [this, row] { changed(row); }, Qt::QueuedConnection);
}

void SessionWindow::moveSelected(int step)
{
    const int row = selectedRow();
    if (session_.move(row, step))
        changed(row + step);
}

void SessionWindow::removeSelected()
{
    const int row = selectedRow();
    if (row < 0 || row >= int(session_.rows.size()))
        return;
    session_.remove(row);
    changed(std::min(row, int(session_.rows.size()) - 1));
}

void SessionWindow::clear()
{
    if (session_.rows.empty())
        return;
    session_.rows.clear();
    changed(-1);
}

void SessionWindow::open()
{
    const QString path = chooseFile_(false, filePath_.isEmpty() ? QDir::homePath() : filePath_);
    if (!path.isEmpty())
        openFile(path);
}

bool SessionWindow::openFile(const QString &path)
{
    const FileRead file = ReadRegularFile(path, Session::MaxFileBytes);
    if (file.missing || !file.error.isEmpty()) {
        report(file.missing ? tr("\"%1\" does not exist.").arg(QDir::toNativeSeparators(path)) : file.error);
        return false;
    }
    QStringList problems;
    session_ = Session::fromFile(file.bytes, &problems);
    filePath_ = path;
    changed(-1);
    if (const QString missing = plan().missingMessage(); !missing.isEmpty())
        problems << missing;
    report(problems.join(QLatin1Char('\n')));
    return true;
}

void SessionWindow::save()
{
    QString suggested = filePath_;
    if (suggested.isEmpty())
        suggested = QDir::home().filePath(tr("session") + QLatin1Char('.') + QLatin1String(SessionFileSuffix));
    QString path = chooseFile_(true, suggested);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + QLatin1String(SessionFileSuffix);
    saveFile(path);
}

bool SessionWindow::saveFile(const QString &path)
{
    const QString error = WriteFileAtomically(path, session_.fileBytes());
    report(error);
    if (error.isEmpty())
        filePath_ = path;
    return error.isEmpty();
}

void SessionWindow::play()
{
    const SessionPlan plan = this->plan();
    report(plan.missingMessage());
    if (!plan.isEmpty() && play_)
        play_(plan);
}

QString SessionWindow::fileNameForExport() const
{
    return filePath_.isEmpty() ? tr("session") : QFileInfo(filePath_).completeBaseName();
}

void SessionWindow::setExportFileChooser(std::function<QString(const QString &, bool *)> chooser)
{
    exporter_->setFileChooser(std::move(chooser));
}

void SessionWindow::exportSession()
{
    const SessionPlan plan = this->plan();
    if (plan.isEmpty())
        return;
    report(plan.missingMessage());
    ExportRequest base;
    base.volume = exportVolume_ ? exportVolume_() : DefaultExportVolume;
    // Starts of treatments are centred, as Play starts them.
    const QString name = fileNameForExport();
    exporter_->startJob(
        name,
        [plan, base](const QString &path, ExportFormat format, const ExportProgressFn &progress) mutable {
            base.format = format;
            return ExportSession(plan, base, path, progress);
        },
        [plan](const ExportProgress &p) {
            if (p.part < 0)
                return QString();
            return tr("%1\n%2: %3 Hz, %4 of %5")
                .arg(plan.placeText(p.part), plan.treatmentOf(p.part).found->name.trimmed(),
                     QString::number(double(p.frequencyHz), 'g', 7))
                .arg(p.index)
                .arg(p.count);
        });
}

} // namespace helicordia
