#pragma once
// The whole of a build-time tool that draws one picture: its only argument
// names the file, written in the given format.
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

namespace qv::ui {

template <typename Draw>
int RunPictureTool(int argc, char** argv, const char* format, Draw draw) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);
    if (!draw().save(QString::fromLocal8Bit(argv[1]), format)) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}

}  // namespace qv::ui
