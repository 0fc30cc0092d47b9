// The main window without a mouse and through a screen reader, and the key
// that ends the program from any window.
//
// Beside the window's own keys (any key in the catalogue list goes to the
// search box, Enter in the search box searches):
// - in the search box, Down, Up, Page Down and Page Up move the catalogue
//   list's selection while the focus stays in the box; Ctrl+Enter plays the
//   selected entry as the Play picture does; Ctrl+R opens the recent list;
// - in the recent list the arrow keys move and Enter picks (the list's own),
//   Escape closes it.
// Every control that can be used or read gets an accessible name and, where
// it helps, a description.
#pragma once

#include <QObject>

#include <functional>

namespace helicordia {

class MainWindow;

class MainWindowKeys : public QObject {
    Q_OBJECT
public:
    explicit MainWindowKeys(MainWindow &window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void MoveSelection(int key);

    MainWindow &window_;
};

// Keys and accessible names for the main window.
void InstallMainWindowAccess(MainWindow &window);
// The accessible names and descriptions, in the current language.
void DescribeMainWindow(MainWindow &window);

// Ctrl+Q in any window of the program runs `quit` (the main window's close,
// so that the normal shutdown saves everything). Install on the application.
class QuitKey : public QObject {
    Q_OBJECT
public:
    explicit QuitKey(std::function<void()> quit, QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void()> quit_;
};

} // namespace helicordia
