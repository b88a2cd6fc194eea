#include "SettingsTestSupport.h"
#include "window/main/MenuMarker.h"
#include "fakes/ScriptedPrompts.h"
#include "core/ProfileStrings.h"
#include "window/settings/ColourSchemes.h"
#include "window/settings/MenuDecorator.h"
#include "window/settings/SettingsFile.h"
#include "window/settings/WindowAppearance.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QTextEdit>
#include <QToolButton>
#include <QToolTip>
#include <gtest/gtest.h>

#include <cmath>

namespace {

QStringList captions(const QMenu* menu)
{
    QStringList result;
    for (const QAction* item : menu->actions())
        result << ItemCaption(item);
    return result;
}

// A stand-in for the main window's controls and menus.
class AppearanceTest : public ::testing::Test
{
protected:
    TempAppFolder folder;
    ScriptedPrompts prompts;
    QWidget window;
    QWidget* toolbar = new QWidget(&window);
    QToolButton* openButton = new QToolButton(toolbar);
    QWidget* readerPanel = new QWidget(&window);
    QWidget* textAreaPanel = new QWidget(&window);
    QTextEdit* reText = new QTextEdit(textAreaPanel);
    QLineEdit* edAddress = new QLineEdit(&window);
    QLabel* statusBar = new QLabel(&window);
    QMenu* pumTextToRead = new QMenu(&window);
    QMenu* miColourSchemes = pumTextToRead->addMenu(QStringLiteral("Colour Schemes"));
    AppearanceSettings appearance;
    MenuDecorator decorator;
    WindowAppearance look{
        {&window, toolbar, {openButton}, readerPanel, textAreaPanel, reText, edAddress, statusBar, miColourSchemes, {}},
        appearance,
        decorator};

    AppearanceTest() { decorator.addMenu(pumTextToRead); }
    void scheme(const QString& name, const QByteArray& bytes) const
    {
        folder.write(QStringLiteral("schemes/") + name, bytes);
    }
    QString setting(const QString& key) const
    {
        return ProfileStrings(folder.settings()).readString(CustomisationSection, key, QStringLiteral("<missing>"));
    }
};

TEST_F(AppearanceTest, TheRecordReachesTheControlsTheMenusAndTheTooltips)
{
    appearance.ToolbarFColour = 0x0000FFFF;           // yellow
    appearance.TextAreaFColour = 0x00FF0000;          // blue
    appearance.TextAreaBColour = 0x00C0FFFF;          // cream
    appearance.StatusBarBColour = qint32(0x8000000F); // the desktop's button face
    appearance.ReaderBColour = 0x00800000;            // navy
    appearance.AppFontSize = 14;
    appearance.TextFontSize = 20;
    openButton->setFont(QFont(QStringLiteral("Courier"), 30));
    look.ApplyAppearance();

    EXPECT_EQ(statusBar->height(), 34);
    EXPECT_EQ(statusBar->palette().color(QPalette::Window), QApplication::palette().color(QPalette::Button));
    EXPECT_EQ(textAreaPanel->palette().color(QPalette::Button), QApplication::palette().color(QPalette::Button));
    EXPECT_EQ(openButton->font().pointSize(), 14); // the buttons take the toolbar's font
    EXPECT_EQ(openButton->palette().color(QPalette::ButtonText), QColor(Qt::yellow));
    EXPECT_EQ(readerPanel->palette().color(QPalette::Window), QColor(0, 0, 128));
    EXPECT_EQ(textAreaPanel->palette().color(QPalette::Window), QColor(255, 255, 192));
    EXPECT_EQ(reText->palette().color(QPalette::Text), QColor(0, 0, 255));
    EXPECT_EQ(reText->font().pointSize(), 20);
    EXPECT_EQ(QToolTip::font().pointSize(), 14);
    EXPECT_TRUE(pumTextToRead->styleSheet().contains(
        QStringLiteral("QMenu { color: #ffff00; background-color: #000000; font-size: 14pt")));
    EXPECT_TRUE(pumTextToRead->styleSheet().contains(QStringLiteral("background-color: #000080")));
}

TEST_F(AppearanceTest, SchemesAreListedInCaseInsensitiveOrderWithoutDuplicates)
{
    for (const char* name : {"blue.pvc", "Zebra.pvc", "Autumn.pvc", "AUTUMN.pvc", "notes.txt"})
        scheme(QString::fromLatin1(name), "[Customisation]\r\n");
    look.ListColourSchemes();
    const QStringList listed = captions(miColourSchemes);
    ASSERT_EQ(listed.size(), 3);
    EXPECT_EQ(listed[0].toLower(), QStringLiteral("autumn"));
    EXPECT_EQ(listed.mid(1), (QStringList{QStringLiteral("blue"), QStringLiteral("Zebra")}));

    // The folder is found whatever the letter case of its name; without it the submenu is empty.
    QDir(folder.dir.path()).rename(QStringLiteral("schemes"), QStringLiteral("Schemes"));
    look.ListColourSchemes();
    EXPECT_EQ(captions(miColourSchemes).size(), 3);
    QDir(folder.path(QStringLiteral("Schemes"))).removeRecursively();
    look.ListColourSchemes();
    EXPECT_TRUE(miColourSchemes->actions().isEmpty());
}

TEST_F(AppearanceTest, ChoosingASchemeRewritesTheSettingsAppliesItAndKeepsTheClickedItemAlive)
{
    folder.write(QStringLiteral("Parlivo.ini"), "[Customisation]\r\n; chosen by the teacher\r\nSettingsFColour=5\r\n"
                                                "ToolbarFColour=1\r\n[Parlivo Settings]\r\nSpeed=3\r\n");
    QByteArray night = "[Customisation]\r\ntoolbarfcolour=255\r\nReaderBColour=$80000005\r\nAppFontSize=14\r\n";
    for (const char* key : {"ToolbarBColour", "LocationFColour", "LocationBColour", "TextAreaFColour",
                            "TextAreaBColour", "StatusBarFColour", "StatusBarBColour", "ReaderFColour"})
        night += QByteArray(key) + "=7\r\n";
    scheme(QStringLiteral("Night.pvc"), night + "TextFontSize=18\r\nName=Night\r\n");
    appearance.SettingsFColour = 5;
    look.ListColourSchemes();
    QPointer<QAction> item = miColourSchemes->actions().value(0);
    ASSERT_TRUE(item);
    item->trigger();

    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_EQ(appearance.ToolbarFColour, 255);
    EXPECT_EQ(appearance.ReaderBColour, qint32(0x80000005));
    EXPECT_EQ(appearance.SettingsFColour, 5); // fields a scheme does not set keep their values in memory
    EXPECT_EQ(statusBar->height(), 34);
    EXPECT_EQ(reText->font().pointSize(), 18);
    EXPECT_EQ(setting(QStringLiteral("ToolbarFColour")), QStringLiteral("255"));
    EXPECT_EQ(setting(QStringLiteral("SettingsFColour")), QStringLiteral("<missing>"));
    EXPECT_TRUE(folder.read(QStringLiteral("Parlivo.ini")).contains("; chosen by the teacher\r\n"));
    EXPECT_EQ(ProfileStrings(folder.settings()).readInteger(ReaderSection, u"Speed", 0), 3);

    // The list was rebuilt with the chosen scheme marked; the old item goes once its click has returned.
    EXPECT_TRUE(item);
    EXPECT_TRUE(IsMarkedDefault(miColourSchemes->actions().value(0)));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(item);
}

TEST_F(AppearanceTest, ASchemeWithMissingKeysRemovesThemAndReportsTheFirstValueItNeeds)
{
    folder.write(QStringLiteral("Parlivo.ini"), "[Customisation]\r\nAppFontSize=12\r\nTextAreaFColour=9\r\n");
    scheme(QStringLiteral("Partial.pvc"), "[Customisation]\nAppFontSize=16\nToolbarFColour=1\nToolbarBColour=2\n");
    statusBar->setFixedHeight(25);
    look.ChooseColourScheme(QStringLiteral("Partial"));

    EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("'' is not a valid integer value")});
    EXPECT_EQ(prompts.messageKinds, QList<MessageKind>{MessageKind::Error});
    EXPECT_EQ(appearance.ToolbarBColour, 2);
    EXPECT_EQ(appearance.TextAreaFColour, 0);
    EXPECT_EQ(setting(QStringLiteral("TextAreaFColour")), QStringLiteral("<missing>"));
    EXPECT_EQ(statusBar->height(), 25); // not applied
}

TEST_F(AppearanceTest, FilesThatCannotBeReadOrWrittenChangeNothing)
{
    look.ChooseColourScheme(QStringLiteral("Nowhere"));
    EXPECT_EQ(
        prompts.messages,
        QStringList{QStringLiteral("Cannot open file %1").arg(folder.path(QStringLiteral("schemes/Nowhere.pvc")))});
    EXPECT_FALSE(QFile::exists(folder.settings()));

    // A first run has no settings file yet: the scheme becomes its first content.
    scheme(QStringLiteral("Big.pvc"), "AppFontSize=20\r\n");
    look.ChooseColourScheme(QStringLiteral("Big"));
    EXPECT_EQ(setting(QStringLiteral("AppFontSize")), QStringLiteral("20"));

    prompts.messages.clear();
    const QByteArray before = folder.read(QStringLiteral("Parlivo.ini"));
    scheme(QStringLiteral("Long.pvc"), "AppFontSize=20\r\nToolbarFColour=" + QByteArray(500, '1') + "\r\n");
    appearance = {};
    WithFileSizeLimit(before.size() + 10, [&] { look.ChooseColourScheme(QStringLiteral("Long")); });
    EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("Cannot create file %1").arg(folder.settings())});
    EXPECT_EQ(folder.read(QStringLiteral("Parlivo.ini")), before);
    EXPECT_EQ(appearance, AppearanceSettings{});
}

double contrast(qint32 a, qint32 b)
{
    auto luminance = [](qint32 value) {
        const QColor colour = colourFromValue(value);
        auto channel = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The settings and schemes that ship with the program give readable text wherever text meets a background.
TEST(ShippedAppearanceTest, TheDefaultSettingsAndEverySchemeAreReadable)
{
    const QString shipped = QStringLiteral(PARLIVO_SOURCE_DIR "/resources/appfolder");
    TempAppFolder folder;
    QFile::copy(shipped + QStringLiteral("/Parlivo.ini"), folder.settings());
    QFile(folder.settings()).setPermissions(QFile::ReadOwner | QFile::WriteOwner);

    auto checkReadable = [](const AppearanceSettings& a, const QString& what) {
        for (const auto& [text, background] : {std::pair{a.ToolbarFColour, a.ToolbarBColour},
                                               {a.TextAreaFColour, a.TextAreaBColour},
                                               {a.StatusBarFColour, a.StatusBarBColour},
                                               {a.ToolbarFColour, a.ReaderBColour}})
            EXPECT_GE(contrast(text, background), 4.5) << what.toStdString() << " " << text << " on " << background;
        EXPECT_GE(a.TextFontSize, 12) << what.toStdString();
    };
    AppearanceSettings appearance;
    for (int field = 1; field <= AppearanceSettings::FieldCount; ++field)
        appearance.field(field) =
            ProfileStrings(folder.settings())
                .readInteger(CustomisationSection, QString::fromLatin1(AppearanceSettings::keys()[field - 1]), -1);
    checkReadable(appearance, QStringLiteral("Parlivo.ini"));

    const QStringList schemes = QDir(shipped + QStringLiteral("/schemes")).entryList({QStringLiteral("*.pvc")});
    EXPECT_GE(schemes.size(), 4);
    for (const QString& file : schemes) {
        QFile::copy(shipped + QStringLiteral("/schemes/") + file, folder.path(QStringLiteral("schemes/") + file));
        CopySchemeIntoSettings(SchemeFilePath(file.chopped(4)), folder.settings(), appearance);
        checkReadable(appearance, file);
        EXPECT_EQ(ReadTextLines(SchemeFilePath(file.chopped(4))).size(), 14) << file.toStdString();
    }
}

} // namespace
