#include "gui/services/web_browser.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QVBoxLayout>
#include <string_view>

#include "core/files/error.h"
#include "gui/widgets/widget_text.h"

namespace tolvane {

namespace {

constexpr std::string_view kFileScheme = "file://";

// The engine module's entry point, loaded once: from the program's own folder (the portable
// folder), else from ../lib/tolvane/ beside it (installed under a prefix, the program in bin/),
// else from the build tree (tests and benchmarks).
CreateEngineViewFunction LoadEngineModule() {
    static CreateEngineViewFunction create = nullptr;
    if (create != nullptr) {
        return create;
    }
    const QString program_folder = QCoreApplication::applicationDirPath();
    const QString name = QStringLiteral(TOLVANE_ENGINE_MODULE_NAME);
    QString failure;
    for (const QString& path : {program_folder + QStringLiteral("/") + name,
                                program_folder + QStringLiteral("/../lib/tolvane/") + name,
                                QStringLiteral(TOLVANE_ENGINE_MODULE_BUILD_PATH)}) {
        QLibrary module(path);
        if (module.load()) {
            create =
                reinterpret_cast<CreateEngineViewFunction>(module.resolve(kCreateEngineViewSymbol));
            if (create != nullptr) {
                return create;
            }
        }
        failure = module.errorString();
    }
    throw Error("Cannot load the web engine: " + FromWidgetText(failure));
}

}  // namespace

WebBrowser::WebBrowser(QWidget* parent) : BrowserWidget(parent) {
    setObjectName(QStringLiteral("browserView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

WebBrowser::~WebBrowser() = default;

void WebBrowser::StartEngine() {
    engine_.reset(LoadEngineModule()(this));
    layout()->addWidget(&engine_->Widget());
    // The keyboard focus and the tab order reach the engine through the widget.
    setFocusProxy(&engine_->Widget());
    if (home_pending_) {
        home_pending_ = false;
        GoHome();
    }
}

EngineView& WebBrowser::StartedEngine() {
    if (engine_ == nullptr) {
        StartEngine();
    }
    return *engine_;
}

QWebEngineView& WebBrowser::Engine() {
    return StartedEngine().View();
}

void WebBrowser::showEvent(QShowEvent* event) {
    BrowserWidget::showEvent(event);
    // Shown means needed. A module that cannot be loaded shows nothing here; the next load or
    // reload reports why.
    try {
        StartedEngine();
    } catch (const Error&) {
    }
}

QUrl WebBrowser::AddressUrl(const std::string& address) {
    const std::string_view text(address);
    const QUrl url = text.starts_with(kFileScheme)
                         ? QUrl::fromLocalFile(ToWidgetText(text.substr(kFileScheme.size())))
                         : QUrl(ToWidgetText(text), QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty()) {
        throw Error("Invalid address \"" + address + "\"");
    }
    return url;
}

void WebBrowser::GoHome() {
    if (engine_ == nullptr) {
        home_pending_ = true;
        return;
    }
    engine_->Load(QUrl(QString::fromLatin1(kHomeAddress)));
}

void WebBrowser::Navigate(const std::string& address) {
    const QUrl url = AddressUrl(address);
    StartedEngine().Load(url);
}

void WebBrowser::Refresh() {
    StartedEngine().Reload();
}

}  // namespace tolvane
