#include "SettingsTestSupport.h"
#include "fakes/ScriptedPrompts.h"
#include "window/settings/ColourSchemes.h"
#include "window/settings/SpinEdit.h"
#include "window/settings/CustomiseDialog.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void loseFocus(SpinEdit* field)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(field->editor(), &out);
}

void type(SpinEdit* field, const QString& text)
{
    field->editor()->clear();
    QTest::keyClicks(field->editor(), text);
}

class CustomiseTest : public ::testing::Test
{
protected:
    TempAppFolder folder;
    ScriptedPrompts prompts;
    AppearanceSettings record; // the main window's
    int applied = 0;

    std::unique_ptr<CustomiseDialog> open()
    {
        return std::make_unique<CustomiseDialog>(record, [this](const AppearanceSettings& working) {
            record = working;
            ++applied;
        });
    }
};

TEST_F(CustomiseTest, OnlyApplyChangesTheWindowAndTheChangeOutlivesARestart)
{
    auto dialog = open();
    prompts.colours = {QColor(255, 0, 0), std::nullopt, QColor(0, 0, 255)};
    dialog->buFCToolbar->click();
    dialog->buBCTextArea->click(); // cancelled: nothing changes
    QTest::mouseClick(dialog->panReadBC, Qt::LeftButton);
    EXPECT_EQ(dialog->labToolBarFC->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(dialog->panReadBC->palette().color(QPalette::Window), QColor(0, 0, 255));
    EXPECT_EQ(dialog->working().ToolbarFColour, 0x0000FF);
    EXPECT_EQ(dialog->working().ReaderBColour, 0xFF0000);
    EXPECT_EQ(dialog->working().TextAreaBColour, 0);
    EXPECT_TRUE(dialog->schemeLines().contains(QStringLiteral("ReaderBColour=16711680")));
    dialog->buClose->click();
    EXPECT_EQ(applied, 0);
    EXPECT_EQ(record, AppearanceSettings{});

    dialog = open();
    prompts.colours = {QColor(0, 128, 0), QColor(255, 0, 255)};
    QTest::mouseClick(dialog->labStatusBarFc, Qt::LeftButton); // the label's text colour, not its panel's too
    EXPECT_EQ(prompts.colours.size(), 1);
    dialog->buApply->click();
    EXPECT_EQ(applied, 1);
    EXPECT_EQ(record.StatusBarFColour, 0x008000);
}

TEST_F(CustomiseTest, TheApplicationSizeStopsAt22AtOnceAndTheTextSizeWhenTheFocusLeaves)
{
    auto dialog = open();
    EXPECT_EQ(dialog->edFontSize->text(), QStringLiteral("10"));
    type(dialog->edFontSize, QStringLiteral("30"));
    EXPECT_EQ(dialog->edFontSize->text(), QStringLiteral("22"));
    EXPECT_EQ(dialog->working().AppFontSize, 22);

    type(dialog->edTextFontSize, QStringLiteral("30"));
    EXPECT_EQ(dialog->working().TextFontSize, 30);
    loseFocus(dialog->edTextFontSize);
    EXPECT_EQ(dialog->edTextFontSize->text(), QStringLiteral("22"));
    EXPECT_EQ(dialog->working().TextFontSize, 22);

    // Below the range, and the arrows, which never leave it.
    type(dialog->edFontSize, QStringLiteral("5"));
    EXPECT_EQ(dialog->working().AppFontSize, 5);
    loseFocus(dialog->edFontSize);
    EXPECT_EQ(dialog->working().AppFontSize, 8);
    dialog->edFontSize->stepBy(-1);
    EXPECT_EQ(dialog->edFontSize->text(), QStringLiteral("8"));
    QTest::keyClick(dialog->edTextFontSize->editor(), Qt::Key_Up);
    QTest::keyClick(dialog->edTextFontSize->editor(), Qt::Key_Down);
    EXPECT_EQ(dialog->working().TextFontSize, 21);

    // An emptied field keeps the size and shows it again when the focus leaves.
    dialog->edTextFontSize->editor()->clear();
    loseFocus(dialog->edTextFontSize);
    EXPECT_EQ(dialog->edTextFontSize->text(), QStringLiteral("21"));

    // Sizes above 22 from a hand-edited settings file.
    record.AppFontSize = 30;
    record.TextFontSize = 28;
    dialog = open();
    EXPECT_EQ(dialog->edFontSize->text(), QStringLiteral("22"));
    EXPECT_EQ(dialog->working().AppFontSize, 22);
    EXPECT_EQ(dialog->edTextFontSize->text(), QStringLiteral("28"));
    EXPECT_EQ(dialog->working().TextFontSize, 28);
}

TEST_F(CustomiseTest, SavedSchemesHoldFourteenLinesAndAreListedAfterApply)
{
    record.ToolbarFColour = 255;
    record.SettingsFColour = 7;
    record.StatusBarBColour = qint32(0x8000000F);
    auto dialog = open();
    prompts.lines = {QStringLiteral("Night"), QStringLiteral("Night"), QStringLiteral("Day")};
    dialog->buSaveScheme->click();
    const QByteArray expected = "[Customisation]\r\nToolbarFColour=255\r\nToolbarBColour=0\r\nLocationFColour=0\r\n"
                                "LocationBColour=0\r\nTextAreaFColour=0\r\nTextAreaBColour=0\r\n"
                                "StatusBarFColour=0\r\nStatusBarBColour=-2147483633\r\nReaderFColour=0\r\n"
                                "ReaderBColour=0\r\nAppFontSize=10\r\nTextFontSize=10\r\nName=Night\r\n";
    EXPECT_EQ(folder.read(QStringLiteral("schemes/Night.pvc")), expected);

    type(dialog->edTextFontSize, QStringLiteral("12"));
    dialog->buSaveScheme->click(); // the same name again replaces the file
    dialog->buSaveScheme->click();
    QByteArray night = expected;
    night.replace("TextFontSize=10", "TextFontSize=12");
    EXPECT_EQ(folder.read(QStringLiteral("schemes/Night.pvc")), night);
    EXPECT_EQ(folder.read(QStringLiteral("schemes/Day.pvc")), QByteArray(night).replace("Name=Night", "Name=Day"));

    // What the window lists when Apply runs its appearance.
    EXPECT_EQ(SchemeNames(), (QStringList{QStringLiteral("Day"), QStringLiteral("Night")}));
}

TEST_F(CustomiseTest, NamesThatCannotBeSavedInTheSchemeFolderAreRefused)
{
    auto dialog = open();
    prompts.lines = {QString(), QStringLiteral("../../Parlivo"), QStringLiteral("a/b"), QStringLiteral("   "),
                     QStringLiteral("Fine")};
    for (int i = 0; i < 4; ++i)
        dialog->buSaveScheme->click();
    const QString error = QStringLiteral("There was a problem, unable to save customisation file.");
    EXPECT_EQ(prompts.messages, (QStringList{error, error, error}));
    EXPECT_EQ(QDir(folder.dir.path()).entryList(QDir::Files), QStringList());
    EXPECT_TRUE(QDir(folder.path(QStringLiteral("schemes"))).isEmpty());

    // Without a scheme folder nothing can be saved either; the folder is not created.
    QDir(folder.path(QStringLiteral("schemes"))).removeRecursively();
    dialog->buSaveScheme->click();
    EXPECT_EQ(prompts.messages.size(), 4);
    EXPECT_FALSE(QFileInfo::exists(folder.path(QStringLiteral("schemes"))));
}

} // namespace
