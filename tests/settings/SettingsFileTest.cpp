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

// The main window's choice menus and state, with every click recorded as "menu:caption".
class SettingsFileTest : public ::testing::Test
{
protected:
    TempAppFolder folder;
    QWidget window;
    QWidget* readerPanel = new QWidget(&window);
    QMenu* readers = menu(QStringLiteral("voice"), {QStringLiteral("English"), QStringLiteral("Microsoft Sam")});
    QMenu* speed = menu(QStringLiteral("speed"), {});
    QMenu* volume = menu(QStringLiteral("volume"), {});
    QMenu autoRead;
    QAction* singleWord = autoRead.addAction(QStringLiteral("Single Word"));
    QAction* sentence = autoRead.addAction(QStringLiteral("Sentence"));
    QAction* autoReadOff = autoRead.addAction(QStringLiteral("Auto Read Off"));
    quint8 autoReadMode = 2;
    qint32 spellingDelay = 10;
    AppearanceSettings appearance;
    MenuDecorator decorator;
    QStringList clicked;
    ReaderChoices choices{readers,     speed,        volume,        singleWord, sentence,  autoReadOff,
                          readerPanel, autoReadMode, spellingDelay, appearance, &decorator};

    SettingsFileTest()
    {
        for (int n = 1; n <= 10; ++n) {
            addItem(speed, QString::number(n));
            addItem(volume, QString::number(11 - n));
        }
        decorator.addMenu(readers);
    }
    QMenu* menu(const QString& name, const QStringList& items)
    {
        auto* submenu = new QMenu(&window);
        submenu->setObjectName(name + QLatin1Char(':'));
        for (const QString& caption : items)
            addItem(submenu, caption);
        return submenu;
    }
    void addItem(QMenu* submenu, const QString& caption)
    {
        QAction* item = submenu->addAction(caption);
        QObject::connect(item, &QAction::triggered, [=, this] { clicked << submenu->objectName() + caption; });
    }
    QString value(const QString& key) const
    {
        return ProfileStrings(folder.settings()).readString(ReaderSection, key, QStringLiteral("<missing>"));
    }
};

TEST_F(SettingsFileTest, WithoutASettingsFileTheDefaultsAreChosenAndClicked)
{
    readerPanel->hide();
    LoadSettings(choices, folder.settings());

    EXPECT_EQ(clicked, (QStringList{QStringLiteral("voice:Microsoft Sam"), QStringLiteral("volume:10"),
                                    QStringLiteral("speed:5")}));
    EXPECT_EQ(MarkedItemCaption(volume), QStringLiteral("10"));
    EXPECT_EQ(autoReadMode, 1);
    EXPECT_TRUE(IsMarkedDefault(singleWord));
    EXPECT_FALSE(readerPanel->isHidden());
    EXPECT_EQ(spellingDelay, 15);
    EXPECT_EQ(appearance, AppearanceSettings{}); // black, sizes 10
    EXPECT_TRUE(decorator.isActive());
}

TEST_F(SettingsFileTest, StoredValuesInOtherFormsAndValuesThatMatchNothing)
{
    folder.write(QStringLiteral("Parlivo.ini"),
                 "[parlivo settings]\r\nreader=english\r\nVolume=0x0A\r\nSpeed=11\r\n"
                 "ReadALong=7\r\nReaderVisible=0\r\n"
                 "[CUSTOMISATION]\r\nStatusBarBColour=-2147483633\r\nAppFontSize=$E\r\n");
    MarkDefault(sentence);
    LoadSettings(choices, folder.settings());

    // A voice named in other letter case is not the installed voice.
    EXPECT_EQ(clicked, QStringList{QStringLiteral("volume:10")});
    EXPECT_EQ(MarkedItemCaption(readers), QString());
    EXPECT_EQ(MarkedItemCaption(speed), QString());
    EXPECT_EQ(autoReadMode, 2);
    EXPECT_TRUE(readerPanel->isHidden());
    EXPECT_EQ(appearance.StatusBarBColour, qint32(0x8000000F));
    EXPECT_EQ(appearance.AppFontSize, 14);

    // No speed item is marked: nothing at all is written at close.
    const QByteArray before = folder.read(QStringLiteral("Parlivo.ini"));
    SaveSettings(choices, folder.settings());
    EXPECT_EQ(folder.read(QStringLiteral("Parlivo.ini")), before);

    // Once a speed is chosen, an unmarked auto-read submenu is written as sentence, the voice as empty.
    SelectItemByCaption(speed, QStringLiteral("3"));
    UnmarkDefault(sentence);
    SaveSettings(choices, folder.settings());
    EXPECT_EQ(value(QStringLiteral("ReadALong")), QStringLiteral("2"));
    EXPECT_EQ(value(QStringLiteral("Reader")), QString());
    EXPECT_EQ(value(QStringLiteral("ReaderVisible")), QStringLiteral("0"));
}

TEST_F(SettingsFileTest, ARunsChoicesAndTheUsersOwnLinesSurviveARestart)
{
    folder.write(
        QStringLiteral("Parlivo.ini"),
        "; Parlivo for room 4\r\n[Parlivo Settings]\r\nReader=English\r\nTeacher=Mrs Jones\r\nReadALong=0\r\n");
    LoadSettings(choices, folder.settings());
    EXPECT_EQ(autoReadMode, 0);
    EXPECT_TRUE(IsMarkedDefault(autoReadOff));

    SelectItemByCaption(speed, QStringLiteral("8"));
    SelectItemByCaption(volume, QStringLiteral("4"));
    MarkDefault(singleWord);
    UnmarkDefault(autoReadOff);
    appearance.AppFontSize = 16;
    appearance.ReaderBColour = qint32(0x8000000F);
    spellingDelay = 20;
    SaveSettings(choices, folder.settings());

    const QByteArray text = folder.read(QStringLiteral("Parlivo.ini"));
    EXPECT_TRUE(text.startsWith("; Parlivo for room 4\r\n"));
    EXPECT_TRUE(text.contains("Teacher=Mrs Jones\r\n"));
    EXPECT_EQ(value(QStringLiteral("Speed")), QStringLiteral("8"));
    EXPECT_EQ(value(QStringLiteral("Volume")), QStringLiteral("4"));

    const AppearanceSettings saved = appearance;
    appearance = {};
    spellingDelay = 10;
    clicked.clear();
    LoadSettings(choices, folder.settings());
    EXPECT_EQ(appearance, saved);
    EXPECT_EQ(autoReadMode, 1);
    EXPECT_EQ(spellingDelay, 20);
    EXPECT_EQ(clicked,
              (QStringList{QStringLiteral("voice:English"), QStringLiteral("volume:4"), QStringLiteral("speed:8")}));
}

TEST_F(SettingsFileTest, FailuresSkipTheRestQuietly)
{
    // The voice cannot start: the later choices are skipped and auto-read is switched off.
    folder.write(QStringLiteral("Parlivo.ini"), "[Parlivo Settings]\nReader=English\nReadALong=2\nSpellingDelay=30\n");
    QObject::connect(readers->actions().first(), &QAction::triggered,
                     [] { throw SpeechError(QStringLiteral("The voice English cannot start")); });
    MarkDefault(singleWord);
    LoadSettings(choices, folder.settings());
    EXPECT_EQ(autoReadMode, 0);
    EXPECT_TRUE(IsMarkedDefault(autoReadOff) && !IsMarkedDefault(singleWord));
    EXPECT_EQ(MarkedItemCaption(volume), QString());
    EXPECT_EQ(spellingDelay, 10);
    EXPECT_TRUE(decorator.isActive());

    SelectItemByCaption(speed, QStringLiteral("5"));
    SelectItemByCaption(volume, QStringLiteral("10"));
    EXPECT_NO_THROW(SaveSettings(choices, folder.path(QStringLiteral("missing folder/Parlivo.ini"))));
}

} // namespace
