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

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    // What the links do: open a web address, and start the mail to the maker.
    struct Links {
        std::function<void(const QString &link)> openLink;
        std::function<void()> mailCommand;
    };

    AboutWindow(Links links, QWidget *owner);

    // Runs at every showing: writes the title line and the notes anew and
    // puts the links in their resting colours.
    void Form_Load();

    void closeButton_Click();
    void linkFrame_MouseMove();
    void orbitdeckLink_Click();
    void kitDownloadLink_Click();
    void homePageLink_Click();
    void mailLink_Click();

    // The notes exactly as composed (the text box shows CR LF as one break,
    // and no stray control character).
    const QString &notesText() const { return notes_; }

    // The design colours of the links.
    static QColor LinkResting();
    static QColor OrbitdeckLinkResting();
    static QColor LinkUnderMouse();

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLinks();
    void retranslate();
    void SetLinkColour(QWidget *link, const QColor &colour);
    bool linkEvent(QWidget *link, QEvent *event);
    void linkClicked(QWidget *link);

    Links links_;
    QString notes_;
    QWidget *pressed_ = nullptr;

    QLabel *titleLabel_ = nullptr;
    QFrame *linkFrame_ = nullptr;
    QLabel *webCaption_ = nullptr; // "www:"
    QLabel *homePageLink_ = nullptr;
    QLabel *mailCaption_ = nullptr; // "e-mail:"
    QLineEdit *mailLink_ = nullptr;
    QLabel *kitDownloadLink_ = nullptr;
    QLabel *orbitdeckLink_ = nullptr;
    QLabel *orbitdeckPicture_ = nullptr;
    QPlainTextEdit *notesBox_ = nullptr;
    QPushButton *closeButton_ = nullptr;
};

} // namespace helicordia
