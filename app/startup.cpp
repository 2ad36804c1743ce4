#include "app/startup.h"

#include <cxxabi.h>
#include <dlfcn.h>

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <typeinfo>

#include "core/files/paths.h"
#include "core/services/messages.h"

namespace tolvane {

namespace {

// The type of the exception being handled, as the source spells it.
std::string CurrentExceptionTypeName() {
    const std::type_info* type = abi::__cxa_current_exception_type();
    if (type == nullptr) {
        return "unknown";
    }
    int status = 0;
    char* readable = abi::__cxa_demangle(type->name(), nullptr, nullptr, &status);
    std::string name = status == 0 && readable != nullptr ? readable : type->name();
    std::free(readable);
    return name;
}

std::string CurrentExceptionMessage() {
    try {
        throw;
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "";
    }
}

// Where the program stood when building the window failed, counted from the start of the
// program's image. The platform does not record where an exception was raised, so this is the
// start-up step that called the window's construction.
std::uintptr_t FailedStepAddress(const void* step) {
    Dl_info info{};
    const auto address = reinterpret_cast<std::uintptr_t>(step);
    if (dladdr(step, &info) == 0 || info.dli_fbase == nullptr) {
        return address;
    }
    return address - reinterpret_cast<std::uintptr_t>(info.dli_fbase);
}

std::string ApplicationErrorForCurrentException(const void* step) {
    const std::string program = ProgramFilePath();
    const std::string module = program.substr(program.find_last_of('/') + 1);
    return ApplicationErrorText(CurrentExceptionTypeName(), module, FailedStepAddress(step),
                                CurrentExceptionMessage());
}

}  // namespace

int RunProgram(QApplication& application,
               const std::function<std::unique_ptr<QWidget>()>& build_window,
               const std::function<void(const std::string&)>& show_application_error) {
    std::unique_ptr<QWidget> window;
    try {
        window = build_window();
    } catch (...) {
        show_application_error(
            ApplicationErrorForCurrentException(reinterpret_cast<const void*>(&RunProgram)));
        return 1;
    }
    window->show();
    application.exec();
    return 0;
}

}  // namespace tolvane
