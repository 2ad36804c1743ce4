// Renders the search page in every shipped style, with a sample list and a search on show, into
// PNG files for the README. Run by scripts/style-screenshots under Xvfb.
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>

#include "tests/data/driver/page_driver.h"

namespace {

using tolvane::LineList;
using tolvane::page::PageSettings;
using tolvane::page::PageSite;
using tolvane::page::PageView;

// A small town's site.
LineList SampleItems() {
    return LineList{
        "gardens/roses.html=The <b>rose garden</b>: opening hours &amp; guided walks",
        "events/festival.html=Garden festival 2026 — programme and tickets",
        "history/harbour.html=History of the old harbour",
        "cafe.html=Café by the garden gate",
        "gardens/allotments.html=Allotments: how to rent a garden plot",
        "school/projects.html=School projects in the kitchen gardens",
        "news/2026-05.html=News: new benches in Gardenia Park",
        "contact.html=Contact the town council",
    };
}

void Pause(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const QDir output(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(output.path());

    PageSite site;
    PageView view(QSize(720, 540));
    for (std::size_t i = 1; i < tolvane::kStyleEntries.size(); ++i) {
        PageSettings settings;
        settings.style = std::string(tolvane::kStyleEntries[i]);
        QUrl url = site.Build(SampleItems(), settings);
        url.setQuery("q=garden");
        if (!view.Load(url) || !view.WaitFor("document.querySelector('a.tv-link mark')")) {
            std::fprintf(stderr, "style-screenshots: %s did not load\n", settings.style.c_str());
            return 1;
        }
        Pause(400);
        const QString file = output.filePath(QString::fromStdString(settings.style) + ".png");
        if (!view.View().grab().save(file)) {
            std::fprintf(stderr, "style-screenshots: cannot write %s\n", qPrintable(file));
            return 1;
        }
        std::printf("%s\n", qPrintable(file));
    }
    return 0;
}
