#include "gui/services/qt_messages.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

#include "core/files/error.h"
#include "gui/widgets/event_guard.h"
#include "gui/widgets/widget_text.h"
#include "tests/support/qt_waits.h"

namespace tolvane {
namespace {

using testing::AnswerNextModal;

TEST(QtMessagesTest, ErrorBoxHasTheTitleTheStopIconOkAndTheTextRule) {
    const QtMessages messages("Tolvane");
    const struct {
        const char* message;
        const char* shown;
    } cases[] = {
        {"Clear list?", "Clear list?."},
        {"Cannot open file \"/x/a b.til\". No such file or directory",
         "Cannot open file \"/x/a b.til\". No such file or directory."},
        {"Can't load CSS file!", "Can't load CSS file!"},
        {"Stream write error.", "Stream write error."},
        {"<b>not markup</b>", "<b>not markup</b>."},
    };
    for (const auto& c : cases) {
        const auto box = messages.ErrorBox(c.message);
        EXPECT_EQ(box->windowTitle(), "Tolvane");
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        EXPECT_EQ(box->text(), c.shown);
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
    }
}

TEST(QtMessagesTest, NoticeShowsItsTextUnchangedWithOneOkForEnterAndEsc) {
    const QtMessages messages("Tolvane");
    const auto box = messages.NoticeBox("Can't load CSS file?");
    EXPECT_EQ(box->windowTitle(), "Tolvane");
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box->text(), "Can't load CSS file?");
    ASSERT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()), box->buttons().first());
    EXPECT_EQ(box->escapeButton(), box->buttons().first());
    EXPECT_EQ(static_cast<QAbstractButton*>(box->button(QMessageBox::Ok)), box->buttons().first());
}

TEST(QtMessagesTest, ConfirmationHasTheCallersCaptionAndYesNo) {
    const QtMessages messages("Tolvane");
    const auto box = messages.ConfirmBox("Confirm", "Clear list?");
    EXPECT_EQ(box->windowTitle(), "Confirm");
    EXPECT_EQ(box->text(), "Clear list?");
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
}

// The real box, shown by the guard around a handler that raises.
TEST(QtMessagesTest, GuardShowsTheRaisedErrorInTheModalErrorBox) {
    QtMessages messages("Tolvane");
    QString shown;
    QString title;
    AnswerNextModal([&](QWidget& modal) {
        auto& box = dynamic_cast<QMessageBox&>(modal);
        shown = box.text();
        title = box.windowTitle();
        box.button(QMessageBox::Ok)->click();
    });
    bool rest_ran = false;
    RunGuarded(messages, [&] {
        throw Error("Disk full?");
        rest_ran = true;
    });
    EXPECT_EQ(shown, "Disk full?.");
    EXPECT_EQ(title, "Tolvane");
    EXPECT_FALSE(rest_ran);
}

TEST(QtMessagesTest, ConfirmIsTrueOnlyForYes) {
    QtMessages messages("Tolvane");
    for (const auto& [button, expected] :
         {std::pair{QMessageBox::Yes, true}, std::pair{QMessageBox::No, false}}) {
        AnswerNextModal([button](QWidget& modal) {
            dynamic_cast<QMessageBox&>(modal).button(button)->click();
        });
        EXPECT_EQ(messages.Confirm("Confirm", "Clear list?"), expected);
    }
    AnswerNextModal([](QWidget& modal) { modal.close(); });
    EXPECT_FALSE(messages.Confirm("Confirm", "Clear list?"));
}

TEST(QtMessagesTest, ApplicationErrorBoxShowsTheLinesUnderItsOwnCaption) {
    QString title;
    QString shown;
    AnswerNextModal([&](QWidget& modal) {
        auto& box = dynamic_cast<QMessageBox&>(modal);
        title = box.windowTitle();
        shown = box.text();
        EXPECT_EQ(box.icon(), QMessageBox::Critical);
        box.button(QMessageBox::Ok)->click();
    });
    ShowApplicationErrorBox("Exception E in module Tolvane at 00001234.\r\nNo browser.\r\n");
    EXPECT_EQ(title, "Application Error");
    EXPECT_EQ(shown, "Exception E in module Tolvane at 00001234.\nNo browser.\n");
}

}  // namespace
}  // namespace tolvane
