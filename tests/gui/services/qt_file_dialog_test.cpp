#include "gui/services/qt_file_dialog.h"

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLineEdit>

#include "tests/support/fault_env.h"
#include "tests/support/qt_waits.h"

namespace tolvane {
namespace {

using testing::AnswerNextModal;
using testing::TempFolder;

constexpr const char* kExportFilter =
    "Index pages (index.html)|index.html|JS Files (*.js)|*.js|HTML Files (*.html)|*.html|"
    "Any Files (*)|*";

struct Seen {
    QString filter;
    QString name;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    QString suffix;
};

// Answers the next dialog: records what it shows, then types `name` and accepts, or cancels
// when `name` is empty.
void AnswerDialog(Seen& seen, const QString& name) {
    AnswerNextModal([&seen, name](QWidget& modal) {
        auto& dialog = dynamic_cast<QFileDialog&>(modal);
        seen.filter = dialog.selectedNameFilter();
        seen.mode = dialog.acceptMode();
        seen.suffix = dialog.defaultSuffix();
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        seen.name = edit->text();
        if (name.isEmpty()) {
            dialog.reject();
            return;
        }
        edit->setText(name);
        QMetaObject::invokeMethod(&dialog, "accept", Qt::QueuedConnection);
    });
}

TEST(QtFileDialogTest, FilterTextBecomesQtNameFilters) {
    EXPECT_EQ(QtFileDialog::NameFilters(kExportFilter),
              QStringList({"Index pages (index.html)", "JS Files (*.js)", "HTML Files (*.html)",
                           "Any Files (*)"}));
    EXPECT_EQ(QtFileDialog::NameFilters("Item lists|*.til"), QStringList({"Item lists (*.til)"}));
    EXPECT_EQ(QtFileDialog::NameFilters(""), QStringList());
}

TEST(QtFileDialogTest, OpensOnThePreselectedFilterThenOnTheLastNameAndFilter) {
    TempFolder folder;
    QtFileDialog dialog(QtFileDialog::Mode::kSave, kExportFilter, 2);
    const QString first = QString::fromStdString(folder / "page");

    Seen seen;
    AnswerDialog(seen, first);
    EXPECT_EQ(dialog.Choose(), folder / "page");  // no extension appended
    EXPECT_EQ(seen.filter, "HTML Files (*.html)");
    EXPECT_EQ(seen.mode, QFileDialog::AcceptSave);
    EXPECT_TRUE(seen.suffix.isEmpty());
    EXPECT_TRUE(seen.name.isEmpty());

    Seen again;
    AnswerDialog(again, QString());
    EXPECT_EQ(dialog.Choose(), std::nullopt);
    EXPECT_EQ(again.name, "page");
    EXPECT_EQ(again.filter, "HTML Files (*.html)");

    Seen after_cancel;
    AnswerDialog(after_cancel, QString());
    EXPECT_EQ(dialog.Choose(), std::nullopt);
    EXPECT_EQ(after_cancel.name, "page");
}

TEST(QtFileDialogTest, SaveOverAnExistingFileAsksNothingAndOpenTakesNewNames) {
    TempFolder folder;
    testing::PutFile(folder / "list.til", "a=b\r\n");

    QtFileDialog save(QtFileDialog::Mode::kSave, "Item lists (*.til)|*.til", 0);
    Seen seen;
    AnswerDialog(seen, QString::fromStdString(folder / "list.til"));
    EXPECT_EQ(save.Choose(), folder / "list.til");

    QtFileDialog open(QtFileDialog::Mode::kOpen, "CSS Styles (*.css)|*.css|Any Files (*)|*", 0);
    Seen opened;
    AnswerDialog(opened, QString::fromStdString(folder / "missing.css"));
    EXPECT_EQ(open.Choose(), folder / "missing.css");
    EXPECT_EQ(opened.mode, QFileDialog::AcceptOpen);
    EXPECT_EQ(opened.filter, "CSS Styles (*.css)");
}

}  // namespace
}  // namespace tolvane
