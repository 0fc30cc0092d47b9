#include "app/main_window_access.h"
#include "app/program.h"
#include "app/terminal/terminal_modes.h"
#include "engine/tone_engine.h"
#include "platform/application.h"
#include "platform/desktop_platform.h"
#include "platform/shown_probe.h"
#include "platform/standard_streams.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QScopeGuard>

#include <cstdio>
#include <dlfcn.h>
#include <thread>

namespace {

// The window icon, from the program's own picture files (under share/icons
// beside an installed program, under icons/ beside a built one) rather than
// through the desktop's icon theme, whose index costs milliseconds and most of
// a megabyte to read; the theme only where the files are not found.
QIcon ProgramIcon()
{
    const QDir folder(QCoreApplication::applicationDirPath());
    QIcon icon;
    for (const int size : {16, 32, 48, 64}) {
        const QString installed =
            folder.filePath(QStringLiteral("../share/icons/hicolor/%1x%1/apps/" HELICORDIA_APP_ID ".png").arg(size));
        const QString built = folder.filePath(QStringLiteral("icons/helicordia-%1.png").arg(size));
        for (const QString &path : {installed, built}) {
            if (QFileInfo::exists(path)) {
                icon.addFile(path, QSize(size, size));
                break;
            }
        }
    }
    return icon.isNull() ? QIcon::fromTheme(QStringLiteral(HELICORDIA_APP_ID)) : icon;
}

// The desktop's font configuration takes several milliseconds to read, and
// the first text shown waits for it: FcInit reads it on a second thread while
// the application connects to the display. Found among the libraries already
// loaded, so nothing more is linked.
//
// Why two threads may do this at once: FcInit only makes sure that
// fontconfig's default configuration exists, and every call that Qt makes
// with no configuration of its own (FcInit, FcFontList, FcFontMatch with a
// null configuration) goes through the same step. That step loads a complete
// configuration privately and then installs it with one atomic
// compare-and-swap on the library's default-configuration pointer; a thread
// that finds another's already installed throws its own copy away and uses
// the installed one. Nothing half-built is ever visible to the other thread.
// (fontconfig has worked this way since 2.10.91, 2013; its own tests start a
// hundred threads that all reach this step at once.) What must not overlap is the teardown:
// Qt destroys the default configuration when the application object goes, so
// the thread is joined before that, by finish().
class FontConfigurationAhead {
public:
    FontConfigurationAhead()
    {
        using InitFn = int (*)();
        if (const auto init = reinterpret_cast<InitFn>(::dlsym(RTLD_DEFAULT, "FcInit")))
            thread_ = std::thread(init);
    }
    ~FontConfigurationAhead() { finish(); }
    void finish()
    {
        if (thread_.joinable())
            thread_.join();
    }
    FontConfigurationAhead(const FontConfigurationAhead &) = delete;
    FontConfigurationAhead &operator=(const FontConfigurationAhead &) = delete;

private:
    std::thread thread_;
};

} // namespace

int main(int argc, char *argv[])
{
    if (!helicordia::OpenMissingStandardStreams())
        return 1;
    QApplication::setApplicationName(helicordia::ApplicationTitle);
    QApplication::setApplicationVersion(QStringLiteral(HELICORDIA_VERSION));
    helicordia::DesktopPlatform platform;
    const helicordia::CommandLineRequest request = helicordia::ParseCommandLine(helicordia::ArgumentsOf(argc, argv));
    if (!request.opensWindow())
        return helicordia::RunCommandLine(request, argc, argv, platform);

    FontConfigurationAhead fonts;
    QApplication app(argc, argv);
    const auto fontsRead = qScopeGuard([&fonts] { fonts.finish(); }); // before `app` goes
    QGuiApplication::setDesktopFileName(QStringLiteral(HELICORDIA_APP_ID));

    helicordia::Program program(realToneEngine(), platform, helicordia::SingleInstance::UserRuntimeFolder());
    helicordia::QuitKey quitKey([&program] { program.end(); });
    app.installEventFilter(&quitKey);
    // The icon once the window is shown, so that the window does not wait for
    // it (and, set up first, after the start-up probe has read its figures).
    helicordia::AfterFirstPaint(program.mainWindow(), [] { QApplication::setWindowIcon(ProgramIcon()); });
    helicordia::WatchFirstPaint(program.mainWindow());
    if (const auto status = program.start())
        return *status;
    return app.exec();
}
