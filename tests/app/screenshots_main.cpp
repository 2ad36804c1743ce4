// Takes a screenshot of each page of the main window for the README: the Database page as
// the program starts and again after a site folder was dropped on its item grid, the Preview
// page after the "Preview" tool button has built the page, and the Help page. Run by
// scripts/screenshots on an X display (Xvfb).
//
//   tolvane_screenshots <program folder with system/, Styles/, temp/> <output folder> <site>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QScreen>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <QWebEngineView>
#include <cstdio>

#include "app/main_window.h"
#include "core/files/paths.h"
#include "gui/pages/preview_page.h"
#include "gui/services/web_browser.h"
#include "gui/widgets/item_grid.h"
#include "tests/support/qt_drops.h"

namespace {

void Settle(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qWait(20);
    }
}

bool Save(tolvane::MainWindow& window, const QString& folder, const char* name) {
    const QPixmap shot = window.screen()->grabWindow(window.winId());
    const QString path = QDir(folder).filePath(QString::fromLatin1(name) + ".png");
    const bool saved = shot.save(path);
    std::printf("%s %s\n", saved ? "saved" : "FAILED", qPrintable(path));
    return saved;
}

// Drops the site folder on the grid and closes the notice that tells what was added.
void DropSite(tolvane::MainWindow& window, const std::string& site) {
    QTimer close_notice;
    QObject::connect(&close_notice, &QTimer::timeout, [] {
        if (QWidget* notice = QApplication::activeModalWidget()) {
            notice->close();
        }
    });
    close_notice.start(100);
    auto* grid = window.findChild<tolvane::ItemGrid*>(QStringLiteral("itemGrid"));
    tolvane::testing::DropLocalFiles(grid->viewport(), {site});
}

void Press(tolvane::MainWindow& window, const char* button) {
    auto* tool = window.findChild<QWidget*>(QString::fromLatin1(button));
    QTest::mouseClick(tool, Qt::LeftButton);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <program folder> <output folder> <site folder>\n", argv[0]);
        return 2;
    }
    const std::string program_folder = std::string(argv[1]) + "/";
    const QString output = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(output);

    tolvane::MainWindow window(tolvane::QtWindowServices("Tolvane"));
    window.Preview().Builder().SetProgramFolder(program_folder);
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window)) {
        std::fprintf(stderr, "the window did not become active\n");
        return 1;
    }
    Settle(500);
    bool ok = Save(window, output, "database");

    DropSite(window, argv[3]);
    Settle(500);
    ok = Save(window, output, "database-site") && ok;

    auto* web = window.findChild<tolvane::WebBrowser*>(QStringLiteral("browserView"));
    bool loaded = false;
    QObject::connect(&web->Engine(), &QWebEngineView::loadFinished,
                     [&loaded](bool) { loaded = true; });
    Press(window, "previewButton");
    if (!QTest::qWaitFor([&loaded] { return loaded; }, 10000)) {
        std::fprintf(stderr, "the built page did not load\n");
    }
    Settle(1500);
    ok = Save(window, output, "preview") && ok;

    Press(window, "helpButton");
    Settle(500);
    ok = Save(window, output, "help") && ok;
    return ok ? 0 : 1;
}
