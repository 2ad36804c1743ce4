#include "gui/services/qt_messages.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

#include "gui/widgets/widget_text.h"

namespace tolvane {

namespace {

std::unique_ptr<QMessageBox> PlainBox(std::string_view caption, std::string_view text,
                                      QMessageBox::Icon icon) {
    auto box = std::make_unique<QMessageBox>();
    box->setWindowTitle(ToWidgetText(caption));
    box->setTextFormat(Qt::PlainText);
    box->setText(ToWidgetText(text));
    box->setIcon(icon);
    box->setWindowModality(Qt::ApplicationModal);
    return box;
}

void CentreOnScreen(QWidget& dialog) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    dialog.adjustSize();
    QRect frame = dialog.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    dialog.move(frame.topLeft());
}

}  // namespace

QtMessages::QtMessages(std::string application_title) : title_(std::move(application_title)) {}

std::unique_ptr<QMessageBox> QtMessages::ErrorBox(std::string_view message) const {
    auto box = PlainBox(title_, ErrorBoxText(message), QMessageBox::Critical);
    box->setStandardButtons(QMessageBox::Ok);
    return box;
}

std::unique_ptr<QMessageBox> QtMessages::NoticeBox(std::string_view text) const {
    auto box = PlainBox(title_, text, QMessageBox::NoIcon);
    QPushButton* ok = box->addButton(QMessageBox::Ok);
    box->setDefaultButton(ok);
    box->setEscapeButton(ok);
    CentreOnScreen(*box);
    return box;
}

std::unique_ptr<QMessageBox> QtMessages::ConfirmBox(std::string_view caption,
                                                    std::string_view text) const {
    auto box = PlainBox(caption, text, QMessageBox::NoIcon);
    box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box->setDefaultButton(QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::No);
    return box;
}

void QtMessages::ShowError(std::string_view message) {
    ErrorBox(message)->exec();
}

void QtMessages::ShowNotice(std::string_view text) {
    NoticeBox(text)->exec();
}

bool QtMessages::Confirm(std::string_view caption, std::string_view text) {
    return ConfirmBox(caption, text)->exec() == QMessageBox::Yes;
}

void ShowApplicationErrorBox(const std::string& text) {
    // The text's CR LF line breaks become the line breaks Qt's labels understand.
    QString shown = ToWidgetText(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Application Error"), shown,
                    QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

}  // namespace tolvane
