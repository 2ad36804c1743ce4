#include "core/services/messages.h"

#include <cctype>
#include <cstdio>

namespace tolvane {

std::string ErrorBoxText(std::string_view message) {
    std::string text(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') {
        text.push_back('.');
    }
    return text;
}

std::string ApplicationTitle(std::string_view program_path) {
    const auto separator = program_path.find_last_of("/\\");
    std::string_view name =
        separator == std::string_view::npos ? program_path : program_path.substr(separator + 1);
    name = name.substr(0, name.find('.'));
    std::string title(name);
    for (std::size_t i = 1; i < title.size(); ++i) {
        title[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(title[i])));
    }
    return title;
}

std::string ApplicationErrorText(std::string_view type_name, std::string_view module_name,
                                 std::uintptr_t address, std::string_view message) {
    char address_text[2 * sizeof(std::uintptr_t) + 1];
    std::snprintf(address_text, sizeof address_text, "%08llX",
                  static_cast<unsigned long long>(address));
    std::string text = "Exception ";
    text.append(type_name).append(" in module ").append(module_name);
    text.append(" at ").append(address_text).append(".\r\n").append(message);
    if (!message.empty() && message.back() != '.') {
        text.push_back('.');
    }
    text.append("\r\n");
    return text;
}

}  // namespace tolvane
