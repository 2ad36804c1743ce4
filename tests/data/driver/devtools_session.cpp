#include "tests/data/driver/devtools_session.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTcpServer>
#include <QTimer>

namespace tolvane::page {
namespace {

int debugging_port = 0;

// Runs `loop` until it is quit or `timeout_ms` have passed.
void RunFor(QEventLoop& loop, int timeout_ms) {
    QTimer::singleShot(timeout_ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The web socket address of the page target showing `page_url`, from the port's target list.
QUrl TargetAddress(const QString& page_url, int timeout_ms) {
    QNetworkAccessManager network;
    QNetworkReply* reply = network.get(
        QNetworkRequest(QUrl(QString("http://127.0.0.1:%1/json/list").arg(debugging_port))));
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    RunFor(loop, timeout_ms);
    const QJsonArray targets = QJsonDocument::fromJson(reply->readAll()).array();
    reply->deleteLater();
    for (const QJsonValue& target : targets) {
        const QJsonObject t = target.toObject();
        if (t["type"].toString() == "page" && t["url"].toString() == page_url)
            return QUrl(t["webSocketDebuggerUrl"].toString());
    }
    return {};
}

}  // namespace

void EnableRemoteDebugging() {
    // A port the system hands out as free; it stays free for the moment until the engine starts.
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    debugging_port = probe.serverPort();
    probe.close();
    qputenv("QTWEBENGINE_REMOTE_DEBUGGING", QByteArray::number(debugging_port));
}

DevToolsSession::DevToolsSession(const QString& page_url, int timeout_ms) {
    const QUrl address = TargetAddress(page_url, timeout_ms);
    if (address.isEmpty())
        return;
    QEventLoop loop;
    QObject::connect(&socket_, &QWebSocket::connected, &loop, &QEventLoop::quit);
    socket_.open(address);
    RunFor(loop, timeout_ms);
    connected_ = socket_.state() == QAbstractSocket::ConnectedState;
}

std::optional<QJsonObject> DevToolsSession::Send(const QString& method, const QJsonObject& params,
                                                 int timeout_ms) {
    const int id = next_id_++;
    std::optional<QJsonObject> answer;
    QEventLoop loop;
    auto connection =
        QObject::connect(&socket_, &QWebSocket::textMessageReceived, [&](const QString& text) {
            const QJsonObject message = QJsonDocument::fromJson(text.toUtf8()).object();
            if (message["id"].toInt() != id)
                return;  // an event, or the answer to another command
            if (message.contains("result"))
                answer = message["result"].toObject();
            loop.quit();
        });
    socket_.sendTextMessage(QString::fromUtf8(
        QJsonDocument(QJsonObject{{"id", id}, {"method", method}, {"params", params}})
            .toJson(QJsonDocument::Compact)));
    RunFor(loop, timeout_ms);
    QObject::disconnect(connection);
    return answer;
}

bool DevToolsSession::EmulatePhone() {
    const QJsonObject metrics{
        {"width", 360}, {"height", 740}, {"deviceScaleFactor", 3}, {"mobile", true}};
    return Send("Emulation.setDeviceMetricsOverride", metrics) &&
           Send("Emulation.setTouchEmulationEnabled",
                QJsonObject{{"enabled", true}, {"maxTouchPoints", 5}});
}

}  // namespace tolvane::page
