#include "app/treatment_editor.h"

#include "treatment/listen_tone.h"
#include "treatment/treatment_check.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace helicordia {

TreatmentEditor::TreatmentEditor(const QString &title, const QString &name, const QString &frequencies, Save save,
                                 ToneEngine *engine, Platform &platform, QWidget *parent)
    : QDialog(parent),
      save_(std::move(save)),
      name_(new QLineEdit(name, this)),
      frequencies_(new QLineEdit(frequencies, this)),
      checks_(new QLabel(this)),
      listen_(new QPushButton(tr("&Listen"), this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(title);
    setObjectName(QStringLiteral("treatmentEditor"));
    setAccessibleName(title);
    if (engine)
        tone_ = std::make_unique<ListenTone>(*engine, platform);
    buildLayout();
    connect(buttons_, &QDialogButtonBox::accepted, this, &TreatmentEditor::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &TreatmentEditor::reject);
    connect(listen_, &QPushButton::pressed, this, &TreatmentEditor::startListening);
    connect(listen_, &QPushButton::released, this, &TreatmentEditor::stopListening);
    connect(name_, &QLineEdit::textChanged, this, &TreatmentEditor::updateChecks);
    connect(frequencies_, &QLineEdit::textChanged, this, &TreatmentEditor::updateChecks);
    updateChecks();
}

void TreatmentEditor::buildLayout()
{
    auto *form = new QFormLayout;
    form->addRow(tr("&Name:"), name_);
    form->addRow(tr("&Frequencies (Hz):"), frequencies_);
    name_->setObjectName(QStringLiteral("nameBox"));
    name_->setAccessibleName(tr("Name"));
    frequencies_->setObjectName(QStringLiteral("frequenciesBox"));
    frequencies_->setAccessibleName(tr("Frequencies"));
    frequencies_->setAccessibleDescription(tr("Frequencies in hertz, separated by commas, for example 432,528,741"));
    frequencies_->setPlaceholderText(tr("for example 432,528,741"));

    checks_->setObjectName(QStringLiteral("checksLabel"));
    checks_->setAccessibleName(tr("Checks"));
    checks_->setWordWrap(true);
    checks_->setTextFormat(Qt::PlainText);
    checks_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    checks_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    auto *checksArea = new QScrollArea(this);
    checksArea->setWidget(checks_);
    checksArea->setWidgetResizable(true);
    checksArea->setFrameShape(QFrame::NoFrame);
    checksArea->setFixedHeight(fontMetrics().lineSpacing() * 10);

    listen_->setObjectName(QStringLiteral("listenButton"));
    listen_->setAccessibleName(tr("Listen"));
    listen_->setAccessibleDescription(tr("Plays the first frequency that will be heard while the button is held down"));
    listen_->setToolTip(listen_->accessibleDescription());
    okButton()->setAccessibleName(tr("OK"));
    buttons_->button(QDialogButtonBox::Cancel)->setAccessibleName(tr("Cancel"));

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(listen_);
    buttonRow->addStretch(1);
    buttonRow->addWidget(buttons_);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(checksArea);
    layout->addLayout(buttonRow);
    setMinimumWidth(520);
}

TreatmentEditor::~TreatmentEditor() = default;

QPushButton *TreatmentEditor::okButton() const
{
    return buttons_->button(QDialogButtonBox::Ok);
}

void TreatmentEditor::updateChecks()
{
    const TreatmentCheck check(name_->text(), frequencies_->text());
    QStringList lines = check.problems();
    if (!check.summary().isEmpty())
        lines << check.summary();
    const QStringList &warnings = check.warnings();
    for (qsizetype i = 0; i < warnings.size() && i < MaxRemarksShown; ++i)
        lines << QStringLiteral("• ") + warnings[i];
    if (warnings.size() > MaxRemarksShown)
        lines << tr("… and %1 more remarks.").arg(warnings.size() - MaxRemarksShown);
    checks_->setText(lines.join(QLatin1Char('\n')));
    okButton()->setEnabled(check.canSave());
    listenHertz_ = check.list().firstSounding.hertz;
    listen_->setEnabled(tone_ && check.list().sounding > 0);
}

void TreatmentEditor::startListening()
{
    if (tone_ && listenHertz_ != 0.0f && !tone_->start(listenHertz_))
        listen_->setDown(false);
}

void TreatmentEditor::stopListening()
{
    if (tone_)
        tone_->stop();
}

void TreatmentEditor::hideEvent(QHideEvent *event)
{
    stopListening();
    QDialog::hideEvent(event);
}

void TreatmentEditor::accept()
{
    if (!okButton()->isEnabled())
        return;
    stopListening();
    if (save_ && save_(name_->text(), frequencies_->text()))
        QDialog::accept();
}

} // namespace helicordia
