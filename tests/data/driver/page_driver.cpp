#include "tests/data/driver/page_driver.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWebEnginePage>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "core/files/text_file.h"

namespace tolvane::page {
namespace {

// What the build asks of the window, answered from fixed settings.
class SettingsHost : public BuildHost {
  public:
    explicit SettingsHost(const PageSettings& settings) : settings_(settings) {}
    std::string PageTitle() const override { return settings_.title; }
    std::string ButtonCaption() const override { return settings_.button_caption; }
    LineList TagLines() const override { return settings_.tag_lines; }
    int StyleIndex() const override {
        for (std::size_t i = 1; i < kStyleEntries.size(); ++i) {
            if (kStyleEntries[i] == settings_.style)
                return static_cast<int>(i);
        }
        return 0;
    }
    std::string StyleEntryText() const override { return settings_.style; }
    // A style that is no entry of the chooser is taken as a file of the user's choice.
    std::string CustomStyleFile() const override { return settings_.style; }
    // The only notice a build gives is "Can't load CSS file!": a page without its style sheet
    // would make every style check meaningless, so it ends the build here.
    void ShowNotice(std::string_view text) override { throw std::runtime_error(std::string(text)); }
    std::optional<std::string> ChooseExportFile() override { return std::nullopt; }
    void Navigate(const std::string& address) override { address_ = address; }
    const std::string& Address() const { return address_; }

  private:
    const PageSettings& settings_;
    std::string address_;
};

void CopyFolder(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::filesystem::create_directories(to);
    std::filesystem::copy(from, to, std::filesystem::copy_options::recursive);
}

}  // namespace

PageSite::PageSite() {
    if (!dir_.isValid())
        throw std::runtime_error("no temporary folder");
    const std::filesystem::path data(TOLVANE_DATA_DIR);
    const std::filesystem::path folder(dir_.path().toStdString());
    CopyFolder(data / "system", folder / "system");
    CopyFolder(data / "Styles", folder / "Styles");
    std::filesystem::create_directories(folder / "temp");
}

std::string PageSite::Folder() const {
    return dir_.path().toStdString() + "/";
}

QUrl PageSite::Build(const LineList& items, const PageSettings& settings) {
    ItemList list;
    list.SetItemLines(items);
    SettingsHost host(settings);
    SearchBuilder builder(Folder(), list, host);
    builder.PreviewBuild();
    // The build hands over "file://" + folder + "index.html"; the folder is a plain path.
    const std::string prefix = "file://";
    const std::string& address = host.Address();
    if (address.rfind(prefix, 0) != 0)
        throw std::runtime_error("unexpected address " + address);
    return QUrl::fromLocalFile(QString::fromStdString(address.substr(prefix.size())));
}

std::string PageSite::PageFile(const std::string& name) const {
    return std::string(ReadFileBytes(Folder() + "temp/" + name).View());
}

PageView::PageView(QSize size) {
    view_.resize(size);
    QObject::connect(&view_, &QWebEngineView::loadStarted, [this] { ++loads_started_; });
    view_.show();
}

QWidget* PageView::InputTarget() const {
    return view_.focusProxy() ? view_.focusProxy() : const_cast<QWebEngineView*>(&view_);
}

bool PageView::Load(const QUrl& url, int timeout_ms) {
    QEventLoop loop;
    bool ok = false;
    auto connection = QObject::connect(&view_, &QWebEngineView::loadFinished, [&](bool finished) {
        ok = finished;
        loop.quit();
    });
    QTimer::singleShot(timeout_ms, &loop, &QEventLoop::quit);
    view_.load(url);
    loop.exec();
    QObject::disconnect(connection);
    return ok;
}

std::optional<QVariant> PageView::Run(const QString& script, int timeout_ms) {
    // The answer may come after a time-out, when this call is gone: it goes to shared state.
    struct Answer {
        std::optional<QVariant> value;
        QEventLoop* loop = nullptr;
    };
    auto answer = std::make_shared<Answer>();
    QEventLoop loop;
    answer->loop = &loop;
    QTimer::singleShot(timeout_ms, &loop, &QEventLoop::quit);
    view_.page()->runJavaScript(script, [answer](const QVariant& value) {
        answer->value = value;
        if (answer->loop)
            answer->loop->quit();
    });
    if (!answer->value)
        loop.exec();
    answer->loop = nullptr;
    return answer->value;
}

QString PageView::Text(const QString& script) {
    const std::optional<QVariant> value = Run(script);
    return value ? value->toString() : QString();
}

bool PageView::WaitFor(const QString& condition, int timeout_ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeout_ms) {
        const std::optional<QVariant> value = Run("!!(" + condition + ")", timeout_ms);
        if (value && value->toBool())
            return true;
        QEventLoop pause;
        QTimer::singleShot(20, &pause, &QEventLoop::quit);
        pause.exec();
    }
    return false;
}

}  // namespace tolvane::page
