#include "app/messages.h"

#include <cctype>

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

}  // namespace tolvane
