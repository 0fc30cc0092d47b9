// The editor of one of the user's own treatments: a name and the
// frequencies, checked as they are typed (what will play and for how long,
// and every piece that will not play as it reads), and "Listen", which plays
// the first frequency that will be heard for as long as it is held down.
#pragma once

#include <QDialog>

#include <functional>
#include <memory>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class ToneEngine;

namespace helicordia {

class ListenTone;
class Platform;

class TreatmentEditor : public QDialog {
    Q_OBJECT
public:
    // Saves the name and the frequencies; true when they were saved (the
    // editor closes), false when the editor stays open with what was typed.
    using Save = std::function<bool(const QString &name, const QString &frequencies)>;

    // `engine` null: no Listen.
    TreatmentEditor(const QString &title, const QString &name, const QString &frequencies, Save save,
                    ToneEngine *engine, Platform &platform, QWidget *parent = nullptr);
    ~TreatmentEditor() override;

    QLineEdit *nameBox() const { return name_; }
    QLineEdit *frequenciesBox() const { return frequencies_; }
    QLabel *checksLabel() const { return checks_; }
    QPushButton *okButton() const;
    QPushButton *listenButton() const { return listen_; }

    // At most this many remarks on pieces are listed; the rest are counted.
    static constexpr int MaxRemarksShown = 8;

    void accept() override;

protected:
    void hideEvent(QHideEvent *event) override;

private:
    void buildLayout();
    void updateChecks();
    void startListening();
    void stopListening();

    Save save_;
    std::unique_ptr<ListenTone> tone_;
    float listenHertz_ = 0;
    QLineEdit *name_;
    QLineEdit *frequencies_;
    QLabel *checks_;
    QPushButton *listen_;
    QDialogButtonBox *buttons_;
};

} // namespace helicordia
