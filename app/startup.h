#pragma once

#include <QApplication>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

namespace tolvane {

// Builds the main window, shows it and processes input until it is closed; then the program
// ends with exit code 0. An error while the window is built (outside its own start-up handler,
// which shows its errors itself) is shown with `show_application_error` in the
// "Application Error" form, and the program ends with exit code 1.
int RunProgram(QApplication& application,
               const std::function<std::unique_ptr<QWidget>()>& build_window,
               const std::function<void(const std::string&)>& show_application_error);

}  // namespace tolvane
