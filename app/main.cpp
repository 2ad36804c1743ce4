// Tolvane Builder: turns a list of links and captions into a search page for a web site.
#include <QApplication>

#include "app/main_window.h"
#include "app/startup.h"
#include "app/window_services.h"
#include "core/files/paths.h"
#include "core/services/messages.h"
#include "gui/services/qt_messages.h"
#include "gui/widgets/glyphs.h"
#include "gui/widgets/widget_text.h"

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    // The title is the program file's name; it captions the error box and the notices.
    const std::string title = tolvane::ApplicationTitle(tolvane::ProgramFilePath());
    QCoreApplication::setApplicationName(tolvane::ToWidgetText(title));
    QGuiApplication::setDesktopFileName(QStringLiteral("tolvane"));
    QApplication::setWindowIcon(tolvane::GlyphIcon("tolvane"));
    return tolvane::RunProgram(
        application,
        [&title] {
            return std::make_unique<tolvane::MainWindow>(tolvane::QtWindowServices(title));
        },
        tolvane::ShowApplicationErrorBox);
}
