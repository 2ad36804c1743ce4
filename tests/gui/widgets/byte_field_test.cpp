// The field that keeps the bytes it shows, under real key events.
#include "gui/widgets/byte_field.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <string>

namespace tolvane {
namespace {

class ByteFieldTest : public ::testing::Test {
  protected:
    ByteFieldTest() { window.show(); }
    QWidget window;
    ByteField* field = new ByteField(QString(), &window);
};

TEST_F(ByteFieldTest, GivesBackTheBytesItWasFilledWithUntilItIsEdited) {
    const struct {
        const char* kind;
        std::string bytes;
        QString shown;
    } cases[] = {
        {"Windows-1252", "caf\xE9 \x80\x81", QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC\xC2\x81")},
        {"UTF-8", "caf\xC3\xA9", QString::fromUtf8("caf\xC3\xA9")},
        {"ASCII with controls", "a\x01\x1F\x7F\tb", QString::fromLatin1("a\x01\x1F\x7F\tb")},
        {"nothing", "", QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        field->SetBytes(c.bytes);
        EXPECT_EQ(field->text(), c.shown);
        EXPECT_EQ(field->Bytes(), c.bytes);
    }
}

TEST_F(ByteFieldTest, AnEditedTextComesBackAsUtf8) {
    field->SetBytes("caf\xE9");
    field->setFocus();
    field->end(false);
    QTest::keyClick(field, Qt::Key_X);
    EXPECT_EQ(field->Bytes(), "caf\xC3\xA9x");
    // Typed back to what it showed, it is still the user's text.
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(field->text(), QString::fromUtf8("caf\xC3\xA9"));
    EXPECT_EQ(field->Bytes(), "caf\xC3\xA9");

    field->SetBytes("caf\xE9");
    field->setText("other");
    EXPECT_EQ(field->Bytes(), "other");
}

}  // namespace
}  // namespace tolvane
