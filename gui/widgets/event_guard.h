#pragma once

#include <QObject>
#include <exception>
#include <new>
#include <utility>

#include "core/files/error.h"
#include "core/services/messages.h"

namespace tolvane {

// Runs one event handler to completion and shows any error it raises in the error box, so no
// exception ever crosses the windowing toolkit's code. Whatever the handler changed before the
// error stays changed; the program goes on with the next input. Every entry from the toolkit
// into the program's handlers passes through here: signals by ConnectGuarded, event filters and
// event overrides by calling it themselves.
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

// Connects `signal` of `sender` so that every emission runs `handler` (no arguments) guarded.
// The connection ends with `context`; `messages` must outlive it.
template <typename Sender, typename Signal, typename Handler>
void ConnectGuarded(Sender* sender, Signal signal, const QObject* context, Messages& messages,
                    Handler handler) {
    QObject::connect(sender, signal, context,
                     [&messages, handler = std::move(handler)] { RunGuarded(messages, handler); });
}

}  // namespace tolvane
