// Tolvane Builder: turns a list of links and captions into a search page for a web site.
#include <QApplication>
#include <QIcon>

#include "app/main_window.h"
#include "app/messages.h"
#include "app/qt_messages.h"
#include "app/startup.h"
#include "app/widget_text.h"
#include "files/paths.h"

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    // The title is the program file's name; it captions the error box and the notices.
    const std::string title = tolvane::ApplicationTitle(tolvane::ProgramFilePath());
    QCoreApplication::setApplicationName(tolvane::ToWidgetText(title));
    QGuiApplication::setDesktopFileName(QStringLiteral("tolvane"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/glyphs/tolvane.xpm")));
    return tolvane::RunProgram(
        application,
        [&title] { return std::make_unique<tolvane::TForm1>(tolvane::QtWindowServices(title)); },
        tolvane::ShowApplicationErrorBox);
}
