// Quorvane, the destiny-charting window program.
#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "main_frame.h"
#include "quorvane_app.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);  // takes Qt's own options (-platform, ...) first
    const QStringList arguments = QApplication::arguments();
    std::vector<std::string> args;
    for (qsizetype i = 1; i < arguments.size(); ++i) args.push_back(arguments[i].toStdString());

    qv::ui::StartOptions options;
    std::string error;
    if (!qv::ui::ParseStartOptions(args, options, error)) {
        std::fprintf(stderr, "Quorvane: %s\n%s\n", error.c_str(), qv::ui::StartUsage);
        return 2;
    }
    if (options.Help) {
        std::printf("%s\n", qv::ui::StartUsage);
        return 0;
    }
    qv::ui::CQuorvaneApp app;
    if (!app.Initialize(options, error)) {
        std::fprintf(stderr, "Quorvane: cannot start: %s\n", error.c_str());
        return 1;
    }
    qv::ui::CMainFrame frame(app);
    frame.showMaximized();
    frame.PostStartup(options.ShowLogo);
    const int code = QApplication::exec();
    app.Shutdown();
    return code;
}
