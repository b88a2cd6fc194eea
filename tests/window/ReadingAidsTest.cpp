#include "SettingsTestSupport.h"
#include "fakes/ScriptedPrompts.h"
#include "core/ProfileStrings.h"
#include "core/Syllables.h"
#include "window/readingarea/ReadingAids.h"
#include "window/settings/SettingsFile.h"
#include "window/settings/CustomiseDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

#include <hyphen.h>

namespace {

// libhyphen's own answer for a word, asked directly: hyphens are numbered by code point in a UTF-8 dictionary.
QList<int> libhyphenBreaks(HyphenDict* dict, const QString& word)
{
    const QByteArray utf8 = word.toLower().toUtf8();
    std::vector<char> hyphens(size_t(utf8.size()) + 5, 0);
    char** rep = nullptr;
    int* pos = nullptr;
    int* cut = nullptr;
    hnj_hyphen_hyphenate3(dict, utf8.constData(), int(utf8.size()), hyphens.data(), nullptr, &rep, &pos, &cut, 2, 2, 2,
                          2);
    QList<int> breaks;
    const QList<uint> codePoints = word.toUcs4();
    int unit = 0;
    for (qsizetype i = 0; i + 1 < codePoints.size(); ++i) {
        unit += QChar::requiresSurrogates(codePoints[i]) ? 2 : 1;
        if (hyphens[size_t(i)] & 1)
            breaks.append(unit);
    }
    return breaks;
}

TEST(SyllablesTest, SplitsMatchLibhyphenAndAddressesStayWhole)
{
    const QString path = Syllables::DefaultDictionary();
    ASSERT_FALSE(path.isEmpty()) << "hyphen-en-us is not installed";
    Syllables syllables(path);
    HyphenDict* dict = hnj_hyphen_load(path.toUtf8().constData());
    ASSERT_TRUE(dict && syllables.isValid());
    // Capitals, letters outside ASCII before a break, short and long words.
    for (const QString& word :
         {QStringLiteral("information"), QStringLiteral("Children"), QStringLiteral("carefully"),
          QStringLiteral("vocabulary"), QStringLiteral("understand"), QStringLiteral("caféteria"),
          QStringLiteral("naïvety"), QStringLiteral("Encyclopaedia"), QStringLiteral("the"), QStringLiteral("a"),
          QStringLiteral("internationalisation"), QStringLiteral("responsibilities")})
        EXPECT_EQ(syllables.breaks(word), libhyphenBreaks(dict, word)) << word.toStdString();
    hnj_hyphen_free(dict);
    EXPECT_EQ(syllables.breaks(u"information"), (QList<int>{2, 5, 7}));

    QList<int> found;
    syllables.forEachBreak(u"See www.information.org or information.", [&](int at) { found.append(at); });
    EXPECT_EQ(found, (QList<int>{29, 32, 34})) << "only the word outside the address is split";
    EXPECT_TRUE(Syllables(QStringLiteral("/nonexistent.dic")).breaks(u"information").isEmpty());
}

TEST(ReadingAidsSettingsTest, RoundTripAndOlderOrHandEditedFiles)
{
    TempAppFolder folder;
    const ProfileStrings ini(folder.settings());
    // A settings file from before the reading aids: every aid is off, which draws the reading area as before.
    folder.write(QStringLiteral("Parlivo.ini"), "[Customisation]\r\nTextFontSize=16\r\n");
    EXPECT_EQ(ReadReadingAids(ini), ReadingAids{});
    EXPECT_FALSE(ReadingAids{}.changesLetters());

    ReadingAids aids;
    aids.FontFamily = QStringLiteral("OpenDyslexic");
    aids.OverrideDocumentFonts = true;
    aids.LineSpacing = 180;
    aids.LetterSpacing = 120;
    aids.FocusLines = 3;
    aids.FocusWhenIdle = true;
    aids.Syllables = true;
    WriteReadingAids(ini, aids);
    EXPECT_EQ(ReadReadingAids(ini), aids);
    EXPECT_EQ(ini.readInteger(CustomisationSection, u"TextFontSize", 0), 16) << "other sections stay";

    folder.write(QStringLiteral("Parlivo.ini"), "[Reading Aids]\r\nLineSpacing=900\r\nLetterSpacing=-3\r\n"
                                                "LineFocus=4\r\nSyllables=yes\r\nFontFamily=  Verdana \r\n");
    const ReadingAids edited = ReadReadingAids(ini);
    EXPECT_EQ(edited.LineSpacing, 250);
    EXPECT_EQ(edited.LetterSpacing, 100);
    EXPECT_EQ(edited.FocusLines, 5);
    EXPECT_FALSE(edited.Syllables) << "a malformed flag keeps its default";
    EXPECT_EQ(edited.FontFamily, QStringLiteral("Verdana"));
}

TEST(ReadingAidsDialogTest, EditsAWorkingCopyThatApplyHandsOverAndSchemesLeaveOut)
{
    TempAppFolder folder;
    ScriptedPrompts prompts;
    AppearanceSettings appearance;
    ReadingAids window;
    window.LineSpacing = 150;
    int applied = 0;
    CustomiseDialog dialog(appearance, [&](const AppearanceSettings&) { ++applied; });
    dialog.setReadingAids(window, [&](const ReadingAids& working) { window = working; });
    const QStringList schemeBefore = dialog.schemeLines();

    EXPECT_EQ(dialog.cboReadingFont->itemData(0).toString(), QString()) << "the usual face comes first";
    EXPECT_EQ(dialog.cboReadingFont->itemText(1), DyslexicFontFamily);
    EXPECT_DOUBLE_EQ(dialog.edLineSpacing->value(), 1.5);

    dialog.cboReadingFont->setCurrentIndex(1);
    dialog.edLineSpacing->setValue(2.0);
    dialog.cboLetterSpacing->setCurrentIndex(dialog.cboLetterSpacing->findData(120));
    dialog.cboLineFocus->setCurrentIndex(dialog.cboLineFocus->findData(3));
    dialog.chkSyllables->setChecked(true);
    EXPECT_EQ(window.LineSpacing, 150) << "nothing reaches the window before Apply";
    dialog.buApply->click();
    EXPECT_EQ(applied, 1);
    EXPECT_EQ(window.FontFamily, DyslexicFontFamily);
    EXPECT_EQ(window.LineSpacing, 200);
    EXPECT_EQ(window.LetterSpacing, 120);
    EXPECT_EQ(window.FocusLines, 3);
    EXPECT_TRUE(window.Syllables);

    prompts.lines = {QStringLiteral("Night")};
    dialog.buSaveScheme->click();
    EXPECT_EQ(folder.read(QStringLiteral("schemes/Night.pvc")).count('\n'), 14) << "the scheme format is unchanged";
    EXPECT_EQ(dialog.schemeLines().mid(0, schemeBefore.size()), schemeBefore);

    // Every control can be named by a screen reader and reached from the keyboard.
    const auto* form = qobject_cast<QFormLayout*>(dialog.grpReadingAids->layout());
    for (QWidget* control : dialog.grpReadingAids->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<QLabel*>(control))
            continue;
        EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
        const auto* label = qobject_cast<QLabel*>(form->labelForField(control));
        const auto* box = qobject_cast<QCheckBox*>(control);
        EXPECT_TRUE((label && label->text().contains(QLatin1Char('&')) && label->buddy() == control) ||
                    (box && box->text().contains(QLatin1Char('&'))))
            << control->objectName().toStdString();
    }
}

} // namespace
