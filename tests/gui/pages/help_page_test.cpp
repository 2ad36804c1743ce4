#include "gui/pages/help_page.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

#include "tests/support/service_fakes.h"

namespace tolvane {
namespace {

class HelpPageTest : public ::testing::Test {
  protected:
    testing::FakeLinks links;
    testing::FakeMessages messages;
    HelpPage page{links, messages};

    template <typename T>
    T& Child(const char* name) {
        T* child = page.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return *child;
    }
};

TEST_F(HelpPageTest, ShowsTheProductVersionAndReleaseDateAtTheirPlaces) {
    EXPECT_EQ(page.objectName(), "helpPage");
    const struct {
        const char* name;
        const char* text;
        QPoint at;
    } labels[] = {
        {"aboutHeading", "About...", {184, 8}},
        {"versionLabel", "Tolvane Builder v.1.3.00 (Build 1.226)", {8, 32}},
        {"releaseDateLabel", "Release date: 5th February, 2006", {8, 80}},
        {"agreementLabel", "License agreement:", {8, 128}},
        {"webSiteLink", HelpPage::kSiteAddress, {8, 280}},
    };
    for (const auto& l : labels) {
        auto& label = Child<QLabel>(l.name);
        EXPECT_EQ(label.text(), l.text);
        EXPECT_EQ(label.pos(), l.at) << l.name;
        // Labels size themselves to their text.
        EXPECT_GE(label.width(), label.fontMetrics().horizontalAdvance(label.text())) << l.name;
    }
    EXPECT_EQ(Child<QLabel>("aboutHeading").font().pixelSize(), 16);
    EXPECT_TRUE(Child<QLabel>("versionLabel").font().bold());
    EXPECT_EQ(Child<QLabel>("webSiteLink").cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(Child<QPlainTextEdit>("agreementText").geometry(), QRect(8, 144, 441, 129));
    EXPECT_FALSE(Child<QPlainTextEdit>("agreementText").font().bold());
}

TEST_F(HelpPageTest, AgreementIsAHeadingUnderlinedByEqualSignsThenParagraphs) {
    const QStringList lines = AgreementText().split('\n');
    ASSERT_EQ(lines.size(), 35);
    EXPECT_FALSE(lines[0].isEmpty());
    EXPECT_EQ(lines[1], QString(lines[0].size(), '='));
    EXPECT_TRUE(lines[2].isEmpty());
    for (int i = 3; i < lines.size(); ++i) {
        EXPECT_FALSE(lines[i].isEmpty() && lines[i - 1].isEmpty()) << "two empty lines at " << i;
    }
}

TEST_F(HelpPageTest, AgreementCannotBeChangedButScrollsAndSelects) {
    page.resize(460, 300);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    auto& agreement = Child<QPlainTextEdit>("agreementText");
    const QString before = agreement.toPlainText();
    agreement.setFocus();
    QTest::keyClicks(&agreement, "typed");
    QTest::keyClick(&agreement, Qt::Key_Delete);
    QTest::keyClick(&agreement, Qt::Key_Backspace);
    EXPECT_EQ(agreement.toPlainText(), before);

    EXPECT_EQ(agreement.verticalScrollBar()->value(), 0);
    QTest::keyClick(&agreement, Qt::Key_PageDown);
    EXPECT_GT(agreement.verticalScrollBar()->value(), 0);
    QTest::keyClick(&agreement, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(&agreement, Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(agreement.textCursor().selectedText(), "Tolvane Builder Freeware License Agreement");
}

TEST_F(HelpPageTest, EveryClickOnTheLinkOpensTheSite) {
    page.show();
    auto& link = Child<QLabel>("webSiteLink");
    QTest::mouseClick(&link, Qt::LeftButton);
    QTest::mouseClick(&link, Qt::LeftButton);
    EXPECT_EQ(links.opened, std::vector<std::string>(2, HelpPage::kSiteAddress));
    // A press that ends outside the label is no click.
    QTest::mousePress(&link, Qt::LeftButton);
    QTest::mouseRelease(&link, Qt::LeftButton, {}, QPoint(link.width() + 5, 2));
    EXPECT_EQ(links.opened.size(), 2u);
}

}  // namespace
}  // namespace tolvane
