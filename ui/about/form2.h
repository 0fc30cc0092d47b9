// The About window: title and version, the usage notes, and links to the
// maker's home page, downloads and mail. Shown modally over its owner.
#pragma once

#include <QDialog>
#include <functional>

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace helicordia {

class Form2 : public QDialog {
    Q_OBJECT
public:
    // What the links do: open a web address, and start the mail to the maker.
    struct Links {
        std::function<void(const QString &link)> openLink;
        std::function<void()> mailCommand;
    };

    Form2(Links links, QWidget *owner);

    // Runs at every showing: writes the title line and the notes anew.
    void Form_Load();

    void Command1_Click();
    void Frame2_MouseMove();
    void Label3_Click();
    void Label4_Click();
    void Label5_Click(int index);
    void Text2_Click();

    // The notes exactly as composed (the text box itself shows CR LF as one break).
    const QString &notesText() const { return notes_; }

    // The design colours of the links.
    static QColor LinkResting();
    static QColor Label3Resting();
    static QColor LinkUnderMouse();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void SetLinkColour(QWidget *link, const QColor &colour);

    Links links_;
    QString notes_;
    QWidget *pressed_ = nullptr;

    QLabel *Label1 = nullptr;
    QFrame *Frame2 = nullptr;
    QLabel *Label6_0 = nullptr;
    QLabel *Label5_0 = nullptr;
    QLabel *Label6_1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Image1 = nullptr;
    QPlainTextEdit *Text1 = nullptr;
    QPushButton *Command1 = nullptr;
};

} // namespace helicordia
