// Loaded into the installed window program with LD_PRELOAD by the package test, so that the
// program under test is the packaged one, unchanged. Once the window is up it clicks "Preview"
// and waits for the browser view to load the built page, then ends the program. It prints one
// line on standard output: "loaded PAGE with MODULE" (the page's file, the web engine module's
// file), or what went wrong (an error box's text, no web engine, no answer in time).
#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <QUrl>
#include <QVariant>
#include <cstdio>

namespace {

constexpr int kTimeoutMs = 60000;

void Finish(const QString& outcome) {
    std::printf("%s\n", outcome.toLocal8Bit().constData());
    std::fflush(stdout);
    QCoreApplication::exit(0);
}

QWidget* MainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("mainWindow")) {
            return widget;
        }
    }
    return nullptr;
}

// The web engine's view inside the browser view, found by its class: this library does not
// link the engine, which the program loads by itself.
QWidget* EngineView(QWidget& window) {
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (child->inherits("QWebEngineView")) {
            return child;
        }
    }
    return nullptr;
}

// The file of the web engine module the program loaded, as the process's mappings show it: the
// build tree's would do too, but only the package's one counts.
QString LoadedEngineModule() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly)) {
        return QStringLiteral("(unknown)");
    }
    for (const QByteArray& line : maps.readAll().split('\n')) {
        const qsizetype path = line.indexOf('/');
        if (path >= 0 && line.contains("tolvane_web_engine")) {
            return QString::fromLocal8Bit(line.mid(path));
        }
    }
    return QStringLiteral("(none)");
}

// An error box is modal: the click does not return while it is open, so a timer reads it.
void WatchForBoxes() {
    auto* watch = new QTimer(qApp);
    QObject::connect(watch, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            Finish(QStringLiteral("box: ") + box->text());
            box->close();
        }
    });
    watch->start(100);
    QTimer::singleShot(kTimeoutMs, qApp, [] { Finish(QStringLiteral("no answer in time")); });
}

void ClickPreview() {
    QWidget* window = MainWindow();
    auto* preview = window != nullptr
                        ? window->findChild<QAbstractButton*>(QStringLiteral("previewButton"))
                        : nullptr;
    if (preview == nullptr) {
        Finish(QStringLiteral("no Preview button"));
        return;
    }
    WatchForBoxes();
    preview->click();
    QWidget* view = EngineView(*window);
    if (view == nullptr) {
        Finish(QStringLiteral("no web engine"));
        return;
    }
    // The page is loaded once the view shows its title, the title field's "Site Search".
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [view] {
        const QUrl url = view->property("url").toUrl();
        if (url.isLocalFile() && url.fileName() == QLatin1String("index.html") &&
            view->property("title").toString() == QLatin1String("Site Search")) {
            Finish(QStringLiteral("loaded ") + url.toLocalFile() + QStringLiteral(" with ") +
                   LoadedEngineModule());
        }
    });
    poll->start(50);
}

void StartDriving() {
    QTimer::singleShot(0, [] { ClickPreview(); });
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(StartDriving)
