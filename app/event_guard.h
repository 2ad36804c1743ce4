#pragma once

#include <exception>
#include <new>
#include <utility>

#include "app/messages.h"
#include "files/error.h"

namespace tolvane {

// Runs one event handler to completion and shows any error it raises in the error box, so no
// exception ever crosses the windowing toolkit's code. Whatever the handler changed before the
// error stays changed; the program goes on with the next input.
template <typename Handler>
void RunGuarded(Messages& messages, Handler&& handler) noexcept {
    try {
        std::forward<Handler>(handler)();
    } catch (const std::bad_alloc&) {
        messages.ShowError("Out of memory");
    } catch (const std::exception& error) {
        messages.ShowError(error.what());
    } catch (...) {
        messages.ShowError("Unknown error");
    }
}

}  // namespace tolvane
