#include "SettingsTestSupport.h"
#include "dialogs/MenuMarker.h"
#include "platform/Errors.h"
#include "platform/ProfileStrings.h"
#include "settings/MenuDecorator.h"
#include "settings/SettingsFile.h"

#include <QAction>
#include <QMenu>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// The main window's choice menus and state, with every click recorded.
class SettingsFileTest : public ::testing::Test
{
protected:
    TempAppFolder folder;
    QWidget window;
    QWidget* readerPanel = new QWidget(&window);
    QMenu* readers = new QMenu(&window);
    QMenu* speed = new QMenu(&window);
    QMenu* volume = new QMenu(&window);
    QMenu* autoRead = new QMenu(&window);
    QAction* singleWord = autoRead->addAction(QStringLiteral("Single Word"));
    QAction* sentence = autoRead->addAction(QStringLiteral("Sentence"));
    QAction* autoReadOff = autoRead->addAction(QStringLiteral("Auto Read Off"));
    quint8 autoReadMode = 2;
    qint32 spellingDelay = 10;
    AppearanceSettings appearance;
    MenuDecorator decorator;
    QStringList clicked;
    ReaderChoices choices{readers,     speed,        volume,        singleWord, sentence,  autoReadOff,
                          readerPanel, autoReadMode, spellingDelay, appearance, &decorator};

    SettingsFileTest()
    {
        for (const char* voice : {"English", "Microsoft Sam"})
            addItem(readers, QString::fromLatin1(voice));
        for (int n = 1; n <= 10; ++n) {
            addItem(speed, QString::number(n));
            addItem(volume, QString::number(11 - n));
        }
        decorator.addMenu(readers);
    }
    QAction* addItem(QMenu* menu, const QString& caption)
    {
        QAction* item = menu->addAction(caption);
        QObject::connect(item, &QAction::triggered,
                         [this, menu, item] { clicked << menu->objectName() + ItemCaption(item); });
        return item;
    }
    QAction* item(QMenu* menu, const QString& caption)
    {
        for (QAction* action : menu->actions())
            if (ItemCaption(action) == caption)
                return action;
        return nullptr;
    }
    QString value(const QString& section, const QString& key)
    {
        return ProfileStrings(folder.settings()).readString(section, key, QStringLiteral("<missing>"));
    }
    void SetUp() override
    {
        readers->setObjectName(QStringLiteral("voice:"));
        speed->setObjectName(QStringLiteral("speed:"));
        volume->setObjectName(QStringLiteral("volume:"));
    }
};

TEST_F(SettingsFileTest, WithoutASettingsFileTheDefaultsAreChosenAndClicked)
{
    readerPanel->hide();
    LoadSettings(choices, folder.settings());

    EXPECT_EQ(clicked, (QStringList{QStringLiteral("voice:Microsoft Sam"), QStringLiteral("volume:10"),
                                    QStringLiteral("speed:5")}));
    EXPECT_EQ(MarkedItemCaption(readers), QStringLiteral("Microsoft Sam"));
    EXPECT_EQ(MarkedItemCaption(volume), QStringLiteral("10"));
    EXPECT_EQ(MarkedItemCaption(speed), QStringLiteral("5"));
    EXPECT_EQ(autoReadMode, 1);
    EXPECT_TRUE(IsMarkedDefault(singleWord));
    EXPECT_FALSE(IsMarkedDefault(sentence) || IsMarkedDefault(autoReadOff));
    EXPECT_FALSE(readerPanel->isHidden());
    EXPECT_EQ(spellingDelay, 15);
    EXPECT_EQ(appearance, AppearanceSettings{});
    EXPECT_EQ(appearance.ToolbarBColour, 0);
    EXPECT_EQ(appearance.TextFontSize, 10);
    EXPECT_TRUE(decorator.isActive());
    EXPECT_FALSE(readers->styleSheet().isEmpty());
}

TEST_F(SettingsFileTest, StoredValuesInOtherFormsAndUnknownValues)
{
    folder.write(QStringLiteral("Parlivo.ini"), "[parlivo settings]\r\n"
                                                "reader=english\r\n"
                                                "Volume=0x0A\r\n"
                                                "Speed=11\r\n"
                                                "ReadALong=7\r\n"
                                                "ReaderVisible=0\r\n"
                                                "[CUSTOMISATION]\r\n"
                                                "StatusBarBColour=-2147483633\r\n"
                                                "AppFontSize=$E\r\n");
    MarkDefault(sentence);
    LoadSettings(choices, folder.settings());

    // A voice named in other letter case is not the installed voice.
    EXPECT_EQ(MarkedItemCaption(readers), QString());
    EXPECT_EQ(MarkedItemCaption(volume), QStringLiteral("10"));
    EXPECT_EQ(MarkedItemCaption(speed), QString());
    EXPECT_EQ(clicked, QStringList{QStringLiteral("volume:10")});
    // An unknown auto-read mode leaves the mode the window started with and marks nothing it did not mark.
    EXPECT_EQ(autoReadMode, 2);
    EXPECT_TRUE(readerPanel->isHidden());
    EXPECT_EQ(appearance.StatusBarBColour, qint32(0x8000000F));
    EXPECT_EQ(appearance.AppFontSize, 14);

    // No speed item is marked: nothing at all is written at close.
    const QByteArray before = folder.read(QStringLiteral("Parlivo.ini"));
    SaveSettings(choices, folder.settings());
    EXPECT_EQ(folder.read(QStringLiteral("Parlivo.ini")), before);

    // Once the user picks a speed, the mode is written as sentence and the voice as empty.
    MarkDefault(item(speed, QStringLiteral("3")));
    UnmarkDefault(sentence);
    SaveSettings(choices, folder.settings());
    EXPECT_EQ(value(ReaderSection, QStringLiteral("ReadALong")), QStringLiteral("2"));
    EXPECT_EQ(value(ReaderSection, QStringLiteral("Reader")), QString());
    EXPECT_EQ(value(ReaderSection, QStringLiteral("ReaderVisible")), QStringLiteral("0"));
}

TEST_F(SettingsFileTest, ARunsChoicesAndTheUsersOwnLinesSurviveARestart)
{
    folder.write(QStringLiteral("Parlivo.ini"), "; Parlivo settings for room 4\r\n"
                                                "[Parlivo Settings]\r\n"
                                                "Reader=English\r\n"
                                                "Teacher=Mrs Jones\r\n"
                                                "ReadALong=0\r\n");
    LoadSettings(choices, folder.settings());
    EXPECT_EQ(autoReadMode, 0);
    EXPECT_TRUE(IsMarkedDefault(autoReadOff));

    // The user chooses speed 8, volume 4, single words and a larger font during the run.
    SelectItemByCaption(speed, QStringLiteral("8"));
    SelectItemByCaption(volume, QStringLiteral("4"));
    MarkDefault(singleWord);
    UnmarkDefault(autoReadOff);
    appearance.AppFontSize = 16;
    appearance.ReaderBColour = qint32(0x8000000F);
    spellingDelay = 20;
    SaveSettings(choices, folder.settings());

    const QString text = QString::fromLatin1(folder.read(QStringLiteral("Parlivo.ini")));
    EXPECT_TRUE(text.startsWith(QStringLiteral("; Parlivo settings for room 4\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("Teacher=Mrs Jones\r\n")));
    EXPECT_EQ(value(ReaderSection, QStringLiteral("Speed")), QStringLiteral("8"));
    EXPECT_EQ(value(ReaderSection, QStringLiteral("Volume")), QStringLiteral("4"));
    EXPECT_EQ(value(CustomisationSection, QStringLiteral("ReaderBColour")), QStringLiteral("-2147483633"));

    const AppearanceSettings saved = appearance;
    appearance = {};
    autoReadMode = 2;
    spellingDelay = 10;
    clicked.clear();
    LoadSettings(choices, folder.settings());
    EXPECT_EQ(appearance, saved);
    EXPECT_EQ(autoReadMode, 1);
    EXPECT_EQ(spellingDelay, 20);
    EXPECT_EQ(clicked,
              (QStringList{QStringLiteral("voice:English"), QStringLiteral("volume:4"), QStringLiteral("speed:8")}));
}

TEST_F(SettingsFileTest, AFailingChoiceSkipsTheRestAndSwitchesAutoReadOff)
{
    folder.write(QStringLiteral("Parlivo.ini"), "[Parlivo Settings]\nReader=English\nReadALong=2\nSpellingDelay=30\n");
    QObject::connect(item(readers, QStringLiteral("English")), &QAction::triggered,
                     [] { throw SpeechError(QStringLiteral("The voice English cannot start")); });
    MarkDefault(singleWord);
    LoadSettings(choices, folder.settings());

    EXPECT_EQ(autoReadMode, 0);
    EXPECT_TRUE(IsMarkedDefault(autoReadOff));
    EXPECT_FALSE(IsMarkedDefault(singleWord));
    EXPECT_EQ(MarkedItemCaption(volume), QString());
    EXPECT_EQ(spellingDelay, 10);
    EXPECT_TRUE(decorator.isActive());
}

TEST_F(SettingsFileTest, SavingNeverThrowsAndAFailedWriteKeepsTheFileWhole)
{
    MarkDefault(item(speed, QStringLiteral("5")));
    MarkDefault(item(volume, QStringLiteral("10")));
    EXPECT_NO_THROW(SaveSettings(choices, folder.path(QStringLiteral("missing folder/Parlivo.ini"))));

    const QByteArray before = "[Parlivo Settings]\r\nSpeed=3\r\n";
    folder.write(QStringLiteral("Parlivo.ini"), before);
    WithFileSizeLimit(before.size() + 4, [&] { EXPECT_NO_THROW(SaveSettings(choices, folder.settings())); });
    // The first write could not complete: the file is as it was and the later writes were skipped.
    EXPECT_EQ(folder.read(QStringLiteral("Parlivo.ini")), before);
}

} // namespace
