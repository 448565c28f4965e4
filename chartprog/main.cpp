// Velmaro: one person's fortune chart from its command line, for a launcher.
#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "chart_session.h"
#include "chart_window.h"
#include "desktop_start.h"

namespace {

using namespace qv::chartprog;

int Refuse(int status, const std::string& message) {
    std::fprintf(stderr, "Velmaro: %s\n", message.c_str());
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    // Our arguments are read before Qt sees any: a switch such as "-style" after the "@" is the person's.
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const std::optional<ParsedCommandLine> parsed = ParseCommandLine(args, error);
    if (!parsed) return Refuse(ExitBadRequest, error + "\n" + ChartProgramUsage);
    const ProgramOptions& options = parsed->Options;
    const ChartRequest& request = parsed->Request;
    if (options.Help) {
        std::printf("%s\n", ChartProgramUsage);
        return ExitOk;
    }
    if (!options.RenderPath.empty() && !IsPicturePath(options.RenderPath))
        return Refuse(ExitBadRequest, "--render takes a file ending in .png or .pdf, not " + options.RenderPath);

    ChartSession session;
    if (!session.LoadData(options.DataDir, error)) {
        Refuse(ExitNoData, error);
        // Started by a launcher, stderr goes nowhere a user looks; a picture for a script asks nobody.
        if (options.RenderPath.empty())
            qv::ui::ShowStartFailure(QStringLiteral("Velmaro"), qv::ui::TermTableFailureText(session.Paths().ProgramDir, error));
        return ExitNoData;
    }
    if (request.Mode == NotGiven || request.Category == NotGiven) return ExitOk;
    if (const std::string problem = RequestProblem(request); !problem.empty()) return Refuse(ExitBadRequest, problem);
    session.Chart(request);

    // A picture needs fonts but no display.
    if (!options.RenderPath.empty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    qv::ui::InstallChineseQtTexts(app);  // before any window: the print dialog speaks Chinese
    QApplication::setWindowIcon(ProgramIcon());
    const std::unique_ptr<QDialog> window = MakeChartWindow(session, request);
    if (!options.RenderPath.empty()) {
        if (!RenderWindow(*window, options.RenderPath, options.RenderWidth, error))
            return Refuse(ExitNoData, error);
        return ExitOk;
    }
    // The window is the program: closing it ends the run.
    window->exec();
    return ExitOk;
}
