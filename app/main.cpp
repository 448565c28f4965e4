// Quorvane, the destiny-charting window program.
#include <QApplication>
#include <QScreen>
#include <cstdio>
#include <string>

#include "desktop_start.h"
#include "main_frame.h"
#include "quorvane_app.h"
#include "tool_window_place.h"

int main(int argc, char** argv) {
    // Options and data files are checked before the application object, so a
    // bad command line or a missing table is told even without a display.
    qv::ui::StartOptions options;
    std::string error;
    if (!qv::ui::ParseStartOptions(qv::ui::OwnArguments(argc, argv), options, error)) {
        std::fprintf(stderr, "Quorvane: %s\n%s\n", error.c_str(), qv::ui::StartUsage);
        return 2;
    }
    if (options.Help) {
        std::printf("%s\n", qv::ui::StartUsage);
        return 0;
    }
    qv::ui::CQuorvaneApp app;
    if (const qv::Result started = app.Initialize(options); !started.Ok) {
        std::fprintf(stderr, "Quorvane: cannot start: %s\n", started.Detail.c_str());
        // Started from a desktop menu, stderr goes nowhere a user looks.
        qv::ui::ShowStartFailure(QStringLiteral("Quorvane"),
                                 qv::ui::TermTableFailureText(app.Paths().ProgramDir, started.Detail));
        return 1;
    }
    QApplication application(argc, argv);
    qv::ui::InstallChineseQtTexts(application);  // before any window: Qt's own dialogs speak Chinese
    qv::ui::ScaleDialogsWithScreen(application);  // a large screen grows the dialogs as it grows the windows
    qv::ui::CMainFrame frame(app);
    // Without a window manager (Xvfb, kiosks) "maximized" means nothing: start at the screen's size.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) frame.setGeometry(screen->availableGeometry());
    frame.showMaximized();
    frame.PostStartup(options.ShowLogo);
    const int code = QApplication::exec();
    app.Shutdown();
    return code;
}
