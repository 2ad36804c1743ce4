#pragma once

// The browser engine's DevTools protocol, spoken to one page of a view over the remote debugging
// port: what it takes to emulate a phone, which a narrow desktop window does not.

#include <QJsonObject>
#include <QString>
#include <QWebSocket>
#include <optional>

namespace tolvane::page {

// Opens the remote debugging port on a free local port. Call before the process's first browser
// view is made; the engine reads the setting once, when it starts.
void EnableRemoteDebugging();

class DevToolsSession {
  public:
    // Connects to the page target showing `page_url`; Connected() tells whether it worked.
    explicit DevToolsSession(const QString& page_url, int timeout_ms = 10000);
    bool Connected() const { return connected_; }

    // Sends a command and waits for its answer: the result, or nothing on an error or time-out.
    std::optional<QJsonObject> Send(const QString& method, const QJsonObject& params = {},
                                    int timeout_ms = 10000);

    // A phone 360 by 740 CSS pixels at 3 device pixels each, with touch instead of a mouse. The
    // page must be loaded again for the layout to start as a phone's does.
    bool EmulatePhone();

  private:
    QWebSocket socket_;
    bool connected_ = false;
    int next_id_ = 1;
};

}  // namespace tolvane::page
