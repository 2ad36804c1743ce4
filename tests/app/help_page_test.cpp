#include "app/help_page.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

#include "tests/app/app_fakes.h"

namespace tolvane {
namespace {

class HelpPageTest : public ::testing::Test {
  protected:
    testing::FakeLinks links;
    HelpPage page{links};

    template <typename T>
    T& Child(const char* name) {
        T* child = page.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return *child;
    }
};

TEST_F(HelpPageTest, ShowsTheProductVersionAndReleaseDateAtTheirPlaces) {
    EXPECT_EQ(page.objectName(), "DHPanel");
    const struct {
        const char* name;
        const char* text;
        QPoint at;
    } labels[] = {
        {"Label6", "About...", {184, 8}},
        {"Label7", "Tolvane Builder v.1.3.00 (Build 1.226)", {8, 32}},
        {"Label8", "Release date: 5th February, 2006", {8, 80}},
        {"Label15", "License agreement:", {8, 128}},
        {"Label16", HelpPage::kSiteAddress, {8, 280}},
    };
    for (const auto& l : labels) {
        auto& label = Child<QLabel>(l.name);
        EXPECT_EQ(label.text(), l.text);
        EXPECT_EQ(label.pos(), l.at) << l.name;
        // Labels size themselves to their text.
        EXPECT_GE(label.width(), label.fontMetrics().horizontalAdvance(label.text())) << l.name;
    }
    EXPECT_EQ(Child<QLabel>("Label6").font().pixelSize(), 16);
    EXPECT_TRUE(Child<QLabel>("Label7").font().bold());
    EXPECT_EQ(Child<QLabel>("Label16").cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(Child<QPlainTextEdit>("Memo1").geometry(), QRect(8, 144, 441, 129));
    EXPECT_FALSE(Child<QPlainTextEdit>("Memo1").font().bold());
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

TEST_F(HelpPageTest, MemoCannotBeChangedButScrollsAndSelects) {
    page.resize(460, 300);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    auto& memo = Child<QPlainTextEdit>("Memo1");
    const QString before = memo.toPlainText();
    memo.setFocus();
    QTest::keyClicks(&memo, "typed");
    QTest::keyClick(&memo, Qt::Key_Delete);
    QTest::keyClick(&memo, Qt::Key_Backspace);
    EXPECT_EQ(memo.toPlainText(), before);

    EXPECT_EQ(memo.verticalScrollBar()->value(), 0);
    QTest::keyClick(&memo, Qt::Key_PageDown);
    EXPECT_GT(memo.verticalScrollBar()->value(), 0);
    QTest::keyClick(&memo, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(&memo, Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(memo.textCursor().selectedText(), "Tolvane Builder Freeware License Agreement");
}

TEST_F(HelpPageTest, EveryClickOnTheLinkOpensTheSite) {
    page.show();
    auto& link = Child<QLabel>("Label16");
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
