// A bare window holding a web engine view on about:blank, the size of the main window: what
// the window start benchmark compares the program's window with.
#include <QApplication>
#include <QUrl>
#include <QWebEngineView>

#include "bench/app/window_exposure.h"

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QWebEngineView view;
    view.resize(535, 300);
    view.load(QUrl(QStringLiteral("about:blank")));
    tolvane::bench::ShowAndReportExposure(view);
}
