#include "ReaderFixture.h"

#include "core/ProfileStrings.h"
#include "window/writing/DefinitionWindow.h"
#include "window/writing/OffensiveWords.h"
#include "window/writing/WritingAids.h"
#include "window/writing/WordPredictor.h"
#include "window/writing/WritingHelp.h"

#include <algorithm>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

namespace {
// The main window with the writing help, the real dictionaries and Enchant's personal word lists in a folder of
// the test's own.
class WritingHelpTest : public ReaderFixture
{
protected:
    void SetUp() override
    {
        enchantBefore = qgetenv("ENCHANT_CONFIG_DIR");
        qputenv("ENCHANT_CONFIG_DIR", enchantFolder.path().toUtf8());
        ReaderFixture::SetUp();
        create();
        QApplication::setActiveWindow(reader.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(reader.get()));
        reader->mipumAutoReadOffClick();
        reader->ConfusableWords1->trigger(); // spelling is checked from the start; confusables once chosen
        ASSERT_TRUE(aids().setLanguage(QStringLiteral("en-us")));
    }

    void TearDown() override
    {
        for (QMenu* menu : reader->findChildren<QMenu*>())
            menu->hide();
        ReaderFixture::TearDown();
        qputenv("ENCHANT_CONFIG_DIR", enchantBefore);
    }

    WritingAids& aids() const { return *reader->writingAids(); }
    QTextEdit& text() const { return *reader->reText; }
    QStringList spoken() const { return engine->texts(); }

    // The words the checks marked, with their kind, in document order.
    QStringList marked(WritingMark kind)
    {
        aids().finishChecking();
        QStringList words;
        for (QTextBlock block = text().document()->begin(); block.isValid(); block = block.next())
            for (const auto& [span, mark] : aids().marks(block))
                if (mark == kind)
                    words << block.text().mid(span.start, span.length);
        return words;
    }

    // The offers of the reading-area menu opened from the keyboard with the caret at `position`.
    QList<QAction*> openMenuAt(int position)
    {
        reader->pumTextToRead->hide();
        QTextCursor caret = text().textCursor();
        caret.setPosition(position);
        text().setTextCursor(caret);
        EXPECT_TRUE(reader->PopupMenuForKeyboard(&text()));
        return aids().offers();
    }

    static QAction* named(const QList<QAction*>& offers, const QString& name, const QString& caption = {})
    {
        for (QAction* offer : offers)
            if (offer->objectName() == name && (caption.isEmpty() || offer->text() == caption))
                return offer;
        return nullptr;
    }

    QTemporaryDir enchantFolder;
    QByteArray enchantBefore;
};
} // namespace

// The walk a learner makes: a sentence with two misspellings and a confusable, fixed from the menu.
TEST_F(WritingHelpTest, MisspellingsAreUnderlinedSpokenAndFixedFromTheMenuAndUndoBringsThemBack)
{
    QTest::keyClicks(&text(), QStringLiteral("I beleive their is a mistaik today."));
    EXPECT_EQ(marked(WritingMark::Misspelt), (QStringList{QStringLiteral("beleive"), QStringLiteral("mistaik")}));
    EXPECT_EQ(marked(WritingMark::Confusable), QStringList{QStringLiteral("their")});
    // Drawn as a wavy underline over the word, nowhere else.
    QStringList wavy;
    for (const WritingAids::ShownMark& shown : aids().shownMarks())
        if (shown.mark == WritingMark::Misspelt)
            wavy << text().toPlainText().mid(shown.start, shown.length);
    EXPECT_EQ(wavy, (QStringList{QStringLiteral("beleive"), QStringLiteral("mistaik")}));

    // The walk starts at the caret and goes round: the first misspelling, said with its sentence and suggestions.
    QTextCursor start = text().textCursor();
    start.setPosition(0);
    text().setTextCursor(start);
    engine->spoken.clear();
    QTest::keyClick(&text(), Qt::Key(CheckSpellingKey.key()));
    EXPECT_EQ(text().textCursor().selectedText(), QStringLiteral("beleive"));
    ASSERT_FALSE(spoken().isEmpty());
    EXPECT_TRUE(spoken().last().contains(QStringLiteral("I beleive their is a mistaik today.")));
    EXPECT_TRUE(spoken().last().contains(QStringLiteral("believe")));

    // The next step passes a word left as it is (once it has been said, which leaves the caret at its start), and
    // the walk goes round to the first again.
    const auto nextMisspelling = [this] {
        QCoreApplication::processEvents();
        QTest::keyClick(&text(), Qt::Key(CheckSpellingKey.key()));
        return text().textCursor().selectedText();
    };
    EXPECT_EQ(nextMisspelling(), QStringLiteral("mistaik"));
    EXPECT_EQ(nextMisspelling(), QStringLiteral("beleive"));

    QList<QAction*> offers = openMenuAt(3);
    QAction* believe = named(offers, QStringLiteral("miSpellingSuggestion"), QStringLiteral("believe"));
    ASSERT_NE(believe, nullptr);
    EXPECT_LE(std::count_if(offers.begin(), offers.end(),
                            [](QAction* a) { return a->objectName() == QLatin1String("miSpellingSuggestion"); }),
              8);
    EXPECT_NE(named(offers, QStringLiteral("miAddToDictionary")), nullptr);
    EXPECT_NE(named(offers, QStringLiteral("miIgnoreSpelling")), nullptr);
    EXPECT_EQ(reader->pumTextToRead->activeAction(), offers.first()) << "the keyboard starts on the first offer";
    believe->hover();
    EXPECT_EQ(spoken().last(), QStringLiteral("believe")) << "a highlighted suggestion is said";
    believe->trigger();
    reader->pumTextToRead->hide();

    QTest::keyClick(&text(), Qt::Key(CheckSpellingKey.key()));
    EXPECT_EQ(text().textCursor().selectedText(), QStringLiteral("mistaik"));
    offers = openMenuAt(text().textCursor().selectionStart());
    ASSERT_NE(named(offers, QStringLiteral("miSpellingSuggestion"), QStringLiteral("mistake")), nullptr);
    named(offers, QStringLiteral("miSpellingSuggestion"), QStringLiteral("mistake"))->trigger();

    // The confusable: the menu explains it aloud and offers the other words.
    offers = openMenuAt(int(text().toPlainText().indexOf(QStringLiteral("their"))) + 1);
    ASSERT_FALSE(offers.isEmpty());
    EXPECT_EQ(offers.first()->objectName(), QStringLiteral("miConfusableExplain"));
    EXPECT_TRUE(spoken().last().contains(QStringLiteral("they're"))) << "the explanation is said as it is reached";
    QAction* there = named(offers, QStringLiteral("miConfusableWord"), QStringLiteral("Use \"there\""));
    ASSERT_NE(there, nullptr);
    there->trigger();
    reader->pumTextToRead->hide();
    EXPECT_EQ(text().toPlainText(), QStringLiteral("I believe there is a mistake today."));
    EXPECT_TRUE(marked(WritingMark::Misspelt).isEmpty());

    QTest::keyClick(&text(), Qt::Key(CheckSpellingKey.key()));
    EXPECT_EQ(spoken().last(), QStringLiteral("No spelling mistakes found."));
    for (int fix = 0; fix < 3; ++fix)
        text().undo();
    EXPECT_EQ(text().toPlainText(), QStringLiteral("I beleive their is a mistaik today."));
}

// Only the lines in view carry their marks: scrolling brings those of the lines it shows, and a mark moves with its
// word as the line is typed in.
TEST_F(WritingHelpTest, MarksOfTheLinesInViewFollowScrollingAndTyping)
{
    QString lines;
    for (int line = 0; line < 300; ++line)
        lines += QStringLiteral("Line %1 has a mistaik.\n").arg(line);
    text().setPlainText(lines);
    aids().finishChecking();
    const auto misspelt = [this] {
        QList<QTextCursor> words;
        for (const WritingAids::ShownMark& shown : aids().shownMarks())
            if (shown.mark == WritingMark::Misspelt) {
                words << QTextCursor(text().document());
                words.last().setPosition(shown.start);
                words.last().setPosition(shown.start + shown.length, QTextCursor::KeepAnchor);
            }
        return words;
    };
    ASSERT_FALSE(misspelt().isEmpty());
    EXPECT_EQ(misspelt().first().blockNumber(), 0);
    EXPECT_LT(misspelt().size(), 100) << "the lines out of view are not drawn";

    text().verticalScrollBar()->setValue(text().verticalScrollBar()->maximum());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !misspelt().isEmpty() && misspelt().last().blockNumber() == 299; }));
    QTextCursor caret(text().document()->findBlockByNumber(299));
    text().setTextCursor(caret);
    QTest::keyClicks(&text(), QStringLiteral("Sofa "));
    QTest::keyClicks(&text(), QStringLiteral("Zorp "));
    ASSERT_TRUE(QTest::qWaitFor([&] { return misspelt().size() > 1 && misspelt().last().blockNumber() == 299; }));
    const QList<QTextCursor> last = misspelt().mid(misspelt().size() - 2);
    EXPECT_EQ(last.first().selectedText(), QStringLiteral("Zorp"));
    EXPECT_EQ(last.last().selectedText(), QStringLiteral("mistaik"));
}

// A word is underlined once it is finished: by a space or a mark after it, or by the caret leaving it. A pupil's name
// the dictionary lacks is offered no insult in its place.
TEST_F(WritingHelpTest, TheWordBeingTypedIsUnderlinedOnlyWhenFinishedAndNoOfferIsOffensive)
{
    const auto wavy = [this] {
        aids().finishChecking();
        QStringList words;
        for (const WritingAids::ShownMark& shown : aids().shownMarks())
            if (shown.mark == WritingMark::Misspelt)
                words << text().toPlainText().mid(shown.start, shown.length);
        return words;
    };
    QTest::keyClicks(&text(), QStringLiteral("My friend Okonkwo"));
    EXPECT_TRUE(wavy().isEmpty()) << "still being typed";
    QTest::keyClick(&text(), Qt::Key_Space);
    EXPECT_EQ(wavy(), QStringList{QStringLiteral("Okonkwo")});
    QTest::keyClicks(&text(), QStringLiteral("and Zorpik"));
    QTest::keyClick(&text(), Qt::Key_Backspace);
    EXPECT_EQ(wavy(), QStringList{QStringLiteral("Okonkwo")}) << "mended as it is typed";
    QTest::keyClick(&text(), Qt::Key_Home);
    EXPECT_EQ(wavy(), (QStringList{QStringLiteral("Okonkwo"), QStringLiteral("Zorpi")}));

    // A learner's "bich" (beach) is offered "birch" by the dictionary, and two insults with it.
    text().setPlainText(QStringLiteral("Okonkwo ran to the bich."));
    for (const int word : {2, 20}) {
        const QList<QAction*> offers = openMenuAt(word);
        EXPECT_FALSE(std::any_of(offers.begin(), offers.end(),
                                 [](QAction* offer) { return IsOffensive(offer->data().toString()); }));
    }
    EXPECT_NE(named(aids().offers(), QStringLiteral("miSpellingSuggestion"), QStringLiteral("birch")), nullptr);
    EXPECT_TRUE(IsOffensive(QStringLiteral("Twonks")));
    EXPECT_FALSE(IsOffensive(QStringLiteral("Scunthorpe")));
}

TEST_F(WritingHelpTest, AddedWordsOutliveTheProgramAndIgnoredOnesDoNot)
{
    text().setPlainText(QStringLiteral("Blorptik met Quenvik."));
    ASSERT_EQ(marked(WritingMark::Misspelt), (QStringList{QStringLiteral("Blorptik"), QStringLiteral("Quenvik")}));
    named(openMenuAt(2), QStringLiteral("miAddToDictionary"))->trigger();
    named(openMenuAt(15), QStringLiteral("miIgnoreSpelling"))->trigger();
    EXPECT_TRUE(marked(WritingMark::Misspelt).isEmpty());

    // A later run (a checker of its own) still knows the added word, not the ignored one.
    SpellChecker later;
    ASSERT_TRUE(later.setLanguage(QStringLiteral("en-us")));
    EXPECT_TRUE(later.check(QStringLiteral("Blorptik")));
    EXPECT_FALSE(later.check(QStringLiteral("Quenvik")));
    EXPECT_TRUE(QDir(enchantFolder.path()).exists(QStringLiteral("en_US.dic")));
}

TEST_F(WritingHelpTest, ConfusableListIsReadFromItsEditableFile)
{
    Confusables shipped;
    ASSERT_TRUE(shipped.load(QStringLiteral(PARLIVO_SOURCE_DIR "/resources/appfolder/Confusable words.txt")));
    EXPECT_GE(shipped.sets().size(), 150);
    for (const ConfusableSet& set : shipped.sets())
        EXPECT_TRUE(set.explanation.contains(QRegularExpression(QStringLiteral("^[A-Z\"].*[.!?]\"?$"))))
            << set.words.join(QLatin1Char(',')).toStdString();
    ASSERT_NE(shipped.find(QStringLiteral("They’re")), nullptr) << "a curly apostrophe is the same word";

    // The file beside the settings was made from the shipped one; the user's edits count after a reload, and
    // lines that are no set are passed over.
    QFile file(folder.filePath(QStringLiteral("Confusable words.txt")));
    ASSERT_TRUE(file.exists());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("# mine\n\nloan, lone: A loan is lent.\nonlyone: no partner\nno colon here\n");
    file.close();
    aids().reloadConfusables();
    EXPECT_EQ(aids().confusables().sets().size(), 1);
    text().setPlainText(QStringLiteral("A lone wolf asked their loan back."));
    EXPECT_EQ(marked(WritingMark::Confusable), (QStringList{QStringLiteral("lone"), QStringLiteral("loan")}));
}

TEST_F(WritingHelpTest, DefineShowsMeaningsReadsTheFirstInsertsSynonymsAndSaysWhenItKnowsNone)
{
    const QList<WordMeaning> house = DefineWord(QStringLiteral("House"));
    ASSERT_FALSE(house.isEmpty());
    EXPECT_EQ(house.first().partOfSpeech, QStringLiteral("noun"));
    EXPECT_TRUE(house.first().gloss.contains(QStringLiteral("dwelling")));
    EXPECT_FALSE(house.first().examples.isEmpty());
    const QList<WordMeaning> ran = DefineWord(QStringLiteral("geese"));
    ASSERT_FALSE(ran.isEmpty()) << "a form is looked up by its base word";

    text().setPlainText(QStringLiteral("A happy xqzvbn."));
    QTextCursor caret = text().textCursor();
    caret.setPosition(9);
    text().setTextCursor(caret);
    QTest::keyClick(&text(), Qt::Key_D, Qt::ControlModifier);
    const QString unknown = QStringLiteral("There is no definition of \"xqzvbn\" in the dictionary.");
    EXPECT_EQ(spoken().last(), unknown);
    EXPECT_EQ(reader->statusBar->text(), unknown);
    EXPECT_EQ(reader->findChild<DefinitionWindow*>(), nullptr);

    caret.setPosition(4);
    text().setTextCursor(caret);
    reader->mReadingAids.FontFamily = QStringLiteral("DejaVu Serif");
    reader->mAppearance.TextFontSize = 22;
    reader->ApplyAppearance();
    QTest::keyClick(&text(), Qt::Key_D, Qt::ControlModifier);
    auto* window = reader->findChild<DefinitionWindow*>();
    ASSERT_NE(window, nullptr);
    // Meanings are read in the reading area's face and size.
    for (QWidget* shown :
         {window->findChild<QWidget*>(QStringLiteral("reMeanings")), static_cast<QWidget*>(window->synonyms())}) {
        EXPECT_EQ(shown->font().family(), QStringLiteral("DejaVu Serif"));
        EXPECT_EQ(shown->font().pointSize(), text().font().pointSize());
    }
    EXPECT_GT(text().font().pointSize(), 15);
    EXPECT_TRUE(spoken().last().startsWith(QStringLiteral("happy, adjective: ")));
    const QList<QListWidgetItem*> glad = window->synonyms()->findItems(QStringLiteral("glad"), Qt::MatchExactly);
    ASSERT_EQ(glad.size(), 1);
    window->synonyms()->setCurrentItem(glad.first());
    EXPECT_EQ(spoken().last(), QStringLiteral("glad"));
    window->findChild<QPushButton*>(QStringLiteral("buInsertSynonym"))->click();
    EXPECT_EQ(text().toPlainText(), QStringLiteral("A glad xqzvbn."));
}

TEST_F(WritingHelpTest, PredictionsAreOfferedSpokenInsertedAndLearnt)
{
    // Predictions come from a thread of their own: each step waits until the list shows what it should.
    PredictionList* list = aids().predictionList();
    const auto offered = [list](const QString& word) {
        return QTest::qWaitFor([&] { return list->isVisible() && list->words().contains(word); }, 10000);
    };
    EXPECT_FALSE(reader->WordPrediction1->isChecked()) << "off until switched on";
    QTest::keyClicks(&text(), QStringLiteral("Thank y"));
    QCoreApplication::processEvents();
    EXPECT_FALSE(list->isVisible());

    reader->WordPrediction1->trigger();
    QTest::keyClick(&text(), Qt::Key_O);
    ASSERT_TRUE(offered(QStringLiteral("you"))) << list->words().join(QLatin1Char(' ')).toStdString();
    EXPECT_LE(list->count(), 5);
    const qsizetype you = list->words().indexOf(QStringLiteral("you"));
    for (qsizetype down = 0; down <= you; ++down)
        QTest::keyClick(&text(), Qt::Key_Down);
    EXPECT_EQ(spoken().last(), QStringLiteral("you"));
    QTest::keyClick(&text(), Qt::Key_Return);
    EXPECT_EQ(text().toPlainText(), QStringLiteral("Thank you "));
    QTest::keyClick(&text(), Qt::Key_Space);
    EXPECT_EQ(text().toPlainText(), QStringLiteral("Thank you ")) << "the space typed next is the one it brought";
    if (QTest::qWaitFor([list] { return list->isVisible(); }, 2000)) {
        QTest::keyClick(&text(), Qt::Key_Escape);
        EXPECT_FALSE(list->isVisible());
        EXPECT_EQ(text().toPlainText(), QStringLiteral("Thank you ")) << "Escape only hides the list";
    }

    // A finished sentence is learnt, typed faster than the window takes its keys, and its word is offered next time
    // with nothing of it left in the text, by its number.
    QTest::keyClicks(&text(), QStringLiteral("Zebracornish unicorns dance. Then"));
    text().clear();
    // It stays offered while the word grows, each key answered before the next.
    QString typed;
    for (const char letter : {'Z', 'e', 'b', 'r', 'a', 'c'}) {
        QTest::keyClick(&text(), letter);
        typed += QLatin1Char(letter);
        const auto answered = [&] {
            const QStringList words = list->words();
            return std::all_of(words.begin(), words.end(), [&](const QString& word) { return word.startsWith(typed); });
        };
        ASSERT_TRUE(QTest::qWaitFor(answered, 10000) && offered(QStringLiteral("Zebracornish"))) << typed.toStdString();
    }
    EXPECT_TRUE(QFile::exists(folder.filePath(QStringLiteral("Parlivo words.db"))));
    QTest::keyClick(&text(), char('1' + list->words().indexOf(QStringLiteral("Zebracornish"))));
    EXPECT_EQ(text().toPlainText(), QStringLiteral("Zebracornish "));
}

// The novel Presage learnt from used "schoolroom" after "the" more often than "school"; a learner wants the common
// word first, a name with its capital, and never an insult they once typed.
TEST_F(WritingHelpTest, PredictionsPutCommonWordsFirstKeepCapitalsAndLeaveOutInsults)
{
    WordPredictor predictor(folder.filePath(QStringLiteral("words.db")));
    ASSERT_TRUE(predictor.ready());
    EXPECT_EQ(predictor.predict(QStringLiteral("The sch")).value(0), QStringLiteral("school"));
    EXPECT_EQ(predictor.predict(QStringLiteral("Thank y")).value(0), QStringLiteral("you"));
    predictor.learn(QStringLiteral("You are a twonk and a zebracorn"));
    const QStringList offered = predictor.predict(QStringLiteral("What a tw"));
    ASSERT_FALSE(offered.isEmpty());
    EXPECT_FALSE(std::any_of(offered.begin(), offered.end(), [](const QString& word) { return IsOffensive(word); }))
        << offered.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(predictor.predict(QStringLiteral("A zebrac")), QStringList{QStringLiteral("zebracorn")})
        << "a sentence's last word is learnt too";

    reader->WordPrediction1->trigger();
    PredictionList* list = aids().predictionList();
    QTest::keyClicks(&text(), QStringLiteral("We flew to lon"));
    ASSERT_TRUE(QTest::qWaitFor([list] { return list->isVisible() && !list->words().isEmpty(); }, 10000));
    EXPECT_TRUE(list->words().contains(QStringLiteral("London"))) << list->words().join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(list->words().contains(QStringLiteral("long")));
}

TEST_F(WritingHelpTest, TextUndoAndSavedFormStayTheSameWithEveryAidOn)
{
    const auto typeSample = [this] {
        text().clear();
        text().document()->clearUndoRedoStacks();
        QTest::keyClicks(&text(), QStringLiteral("Thier dog sat over they're, two."));
        aids().finishChecking();
        QCoreApplication::processEvents();
        return std::tuple{text().toHtml(), text().document()->availableUndoSteps(), text().document()->isModified()};
    };
    WritingHelp all;
    all.WordPrediction = true;
    aids().setHelp(all);
    const auto on = typeSample();
    QTest::keyClick(&text(), Qt::Key_Escape);
    aids().setHelp(WritingHelp{false, false, false});
    const auto off = typeSample();
    EXPECT_EQ(on, off);

    // The switches are kept in a section of their own; a file from before them gives the defaults.
    EXPECT_EQ(ReadWritingHelp(ProfileStrings(folder.filePath(QStringLiteral("older.ini")))), WritingHelp{});
    const ProfileStrings ini(folder.filePath(QStringLiteral("Parlivo.ini")));
    reader->SpellAsYouType1->trigger();
    reader->WordPrediction1->trigger();
    reader->SaveSettings();
    EXPECT_EQ(ini.readInteger(WritingHelpSection, u"WordPrediction", 0), 1);
    const WritingHelp saved = ReadWritingHelp(ini);
    EXPECT_EQ(saved, aids().help());
}
