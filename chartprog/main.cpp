// Velmaro: one person's fortune chart from its command line, for a launcher.
#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "chart_session.h"
#include "chart_window.h"
#include "desktop_start.h"
#include "picture_file.h"
#include "engine/texts/string_table.h"
#include "tool_window_place.h"

namespace {

using namespace qv::chartprog;

int Refuse(int status, const std::string& message) {
    std::fprintf(stderr, "Velmaro: %s\n", message.c_str());
    return status;
}

// Started by a launcher, stderr goes nowhere a user looks: a refused command
// line is said in a message box too when there is a display and no picture
// was asked for (a script reads stderr and the status).
int RefuseRequest(const qv::Result& refusal, bool picture) {
    Refuse(ExitBadRequest, refusal.Detail);
    if (picture) return ExitBadRequest;
    std::string text(qv::StringText(qv::CommandLineFaultText));
    if (refusal.Reason != 0) text += "\n" + std::string(refusal.ReasonText());
    qv::ui::ShowStartFailure(QStringLiteral("Velmaro"), text + "\n\n(" + refusal.Detail + ")");
    return ExitBadRequest;
}

}  // namespace

int main(int argc, char** argv) {
    // Our arguments are read before Qt sees any: a switch such as "-style" after the "@" is the person's.
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const std::optional<ParsedCommandLine> parsed = ParseCommandLine(args, error);
    if (!parsed) {
        const bool picture = std::ranges::find(args, std::string("--render")) != args.end();
        return RefuseRequest(qv::Result::Failed(0, error + "\n" + ChartProgramUsage), picture);
    }
    const ProgramOptions& options = parsed->Options;
    const ChartRequest& request = parsed->Request;
    const bool picture = !options.RenderPath.empty();
    if (options.Help) {
        std::printf("%s\n", ChartProgramUsage);
        return ExitOk;
    }
    if (picture && !IsPicturePath(options.RenderPath))
        return Refuse(ExitBadRequest, "--render takes a file ending in .png or .pdf, not " + options.RenderPath);

    ChartSession session;
    if (const qv::Result loaded = session.LoadData(options.DataDir); !loaded.Ok) {
        Refuse(ExitNoData, loaded.Detail);
        // Started by a launcher, stderr goes nowhere a user looks; a picture for a script asks nobody.
        if (!picture) {
            qv::ui::ShowStartFailure(QStringLiteral("Velmaro"),
                                     qv::ui::TermTableFailureText(session.Paths().ProgramDir, loaded.Detail));
        }
        return ExitNoData;
    }
    // A launcher's line without a chart ends quietly; a picture asked for without one is a mistake.
    if (request.Mode == NotGiven || request.Category == NotGiven) {
        if (!picture) return ExitOk;
        return RefuseRequest(qv::Result::Failed(qv::PictureNeedsChartText,
                                                "--render needs a chart: give /P mode and /T category"),
                             true);
    }
    if (const qv::Result problem = RequestProblem(request); !problem.Ok) return RefuseRequest(problem, picture);
    session.Chart(request);

    // A picture needs fonts but no display.
    if (picture && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    qv::ui::InstallChineseQtTexts(app);  // before any window: the print dialog speaks Chinese
    qv::ui::ScaleDialogsWithScreen(app);  // a large screen grows the dialogs as it grows the windows
    QApplication::setWindowIcon(ProgramIcon());
    const std::unique_ptr<QDialog> window = MakeChartWindow(session, request);
    if (picture) {
        if (const qv::Result rendered = RenderWindow(*window, options.RenderPath, options.RenderWidth); !rendered.Ok)
            return Refuse(ExitNoData, qv::ui::PictureFailureText(rendered));
        return ExitOk;
    }
    // The window is the program: closing it ends the run.
    window->exec();
    return ExitOk;
}
