#include "app/startup.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTimer>

#include "core/files/error.h"

namespace tolvane {
namespace {

TEST(StartupTest, AnErrorWhileBuildingTheWindowEndsWithTheApplicationErrorBoxAndCodeOne) {
    auto& application = *qobject_cast<QApplication*>(QCoreApplication::instance());
    std::vector<std::string> shown;
    const auto show = [&shown](const std::string& text) { shown.push_back(text); };

    const int code = RunProgram(
        application, []() -> std::unique_ptr<QWidget> { throw Error("No browser component"); },
        show);
    EXPECT_EQ(code, 1);
    ASSERT_EQ(shown.size(), 1u);
    const QRegularExpression form(
        "^Exception tolvane::Error in module app_qt_tests at [0-9A-F]{8,16}\\.\r\n"
        "No browser component\\.\r\n$");
    EXPECT_TRUE(form.match(QString::fromStdString(shown[0])).hasMatch()) << shown[0];

    shown.clear();
    EXPECT_EQ(RunProgram(
                  application, []() -> std::unique_ptr<QWidget> { throw 42; }, show),
              1);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("Exception int in module"), std::string::npos) << shown[0];
    EXPECT_TRUE(shown[0].ends_with(".\r\n\r\n")) << shown[0];
}

TEST(StartupTest, ClosingTheBuiltWindowEndsWithCodeZero) {
    auto& application = *qobject_cast<QApplication*>(QCoreApplication::instance());
    bool boxed = false;
    const int code = RunProgram(
        application,
        [] {
            auto window = std::make_unique<QWidget>();
            QTimer::singleShot(0, window.get(), [w = window.get()] {
                w->close();
                QCoreApplication::quit();
            });
            return window;
        },
        [&boxed](const std::string&) { boxed = true; });
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(boxed);
}

}  // namespace
}  // namespace tolvane
