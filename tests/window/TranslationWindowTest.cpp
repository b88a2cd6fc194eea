// Translation in the window with the real Apertium English-Spanish pair: the learner's language in the reader menu,
// the customisation dialog and the settings file; Translate shown beside the text and said by a Spanish voice; each
// sentence translated while it is read.
#include "ReaderFixture.h"
#include "core/GivenText.h"
#include "formats/TextRecognition.h"
#include "core/ProfileStrings.h"
#include "window/main/MenuMarker.h"
#include "window/main/ToolbarButton.h"
#include "window/readingarea/DocumentLoader.h"
#include "window/readingarea/TranslationPanel.h"
#include "window/dialogs/TextLineDialog.h"
#include "window/settings/CustomiseDialog.h"
#include "window/settings/InterfaceLanguage.h"
#include "window/settings/TranslationSettings.h"

#include "core/ProcessRunner.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTranslator>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

class TranslationWindow : public ReaderFixture
{
protected:
    void SetUp() override
    {
        ReaderFixture::SetUp();
        engine->installed << EngineVoice{QStringLiteral("roa/es"), QStringLiteral("Spanish (Spain)"),
                                         QStringLiteral("es")};
        create();
        reader->SelectVoice(QStringLiteral("English (Great Britain)"));
    }

    QAction* languageItem(const QString& mode) const
    {
        for (QAction* item : reader->miMyLanguage->actions())
            if (item->data().toString() == mode)
                return item;
        return nullptr;
    }

    void setText(const QString& text, int from, int to)
    {
        reader->reText->setPlainText(text);
        QTextCursor cursor = reader->reText->textCursor();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        reader->reText->setTextCursor(cursor);
    }

    QString shown() const { return reader->panTranslation->shownText(); }
};

TEST_F(TranslationWindow, MyLanguageIsChosenInTheReaderMenuOrTheCustomisationAndKeptInItsOwnSection)
{
    const QString settings = folder.filePath(QStringLiteral("Parlivo.ini"));
    // Nothing chosen: the settings file gets no section of its own.
    reader->SaveSettings();
    EXPECT_FALSE(QFile(settings).open(QIODevice::ReadOnly) &&
                 QString::fromUtf8(QFile(settings).readAll()).contains(TranslationSection));

    QAction* spanish = languageItem(QStringLiteral("eng-spa"));
    ASSERT_TRUE(spanish);
    EXPECT_EQ(ItemCaption(spanish), QStringLiteral("Spanish"));
    spanish->trigger();
    EXPECT_EQ(reader->translation().language(), QStringLiteral("eng-spa"));
    EXPECT_TRUE(IsMarkedDefault(spanish));
    reader->miTranslateWhileReading->trigger();
    reader->SaveSettings();
    EXPECT_EQ(ProfileStrings(settings).readString(TranslationSection, u"MyLanguage", {}), QStringLiteral("eng-spa"));
    EXPECT_EQ(ProfileStrings(settings).readInteger(TranslationSection, u"ShowWhileReading", 0), 1);

    TranslationChoices restored;
    LoadTranslationSettings(restored, settings);
    EXPECT_EQ(restored.language(), QStringLiteral("eng-spa"));
    EXPECT_TRUE(restored.whileReading());

    // The customisation dialog offers None and the installed languages; Apply sets the choice.
    CustomiseDialog dialog(reader->mAppearance, {});
    QString applied = QStringLiteral("<not applied>");
    dialog.setMyLanguage(Translator().languages(), reader->translation().language(),
                         [&](const QString& mode) { applied = mode; });
    EXPECT_EQ(dialog.cboMyLanguage->currentText(), QStringLiteral("Spanish"));
    dialog.cboMyLanguage->setCurrentIndex(0);
    // The window's language is kept beside it, for the next start.
    dialog.setWindowLanguage(InterfaceLanguages(), {}, [&](const QString& code) { SaveInterfaceLanguage(code); });
    dialog.cboWindowLanguage->setCurrentIndex(dialog.cboWindowLanguage->findText(QStringLiteral("español")));
    dialog.ApplyCustomisation();
    EXPECT_EQ(applied, QString());
    EXPECT_EQ(SavedInterfaceLanguage(), QStringLiteral("es"));
}

TEST_F(TranslationWindow, TranslateShowsTheSelectionOrWordInSpanishAndSaysItInASpanishVoice)
{
    reader->translation().setLanguage(QStringLiteral("eng-spa"));
    const QString text = QStringLiteral("The cat is black. The dog is white.");
    setText(text, 0, 17);
    engine->spoken.clear();
    reader->Translate1->trigger();

    EXPECT_TRUE(reader->panTranslation->isVisible());
    EXPECT_TRUE(shown().contains(QStringLiteral("gato")) && shown().contains(QStringLiteral("negro")))
        << shown().toStdString();
    ASSERT_EQ(engine->spoken.size(), 1);
    EXPECT_EQ(engine->spoken[0].voice, QStringLiteral("roa/es"));
    EXPECT_TRUE(engine->spoken[0].text.contains(QStringLiteral("gato")));
    // The reading voice is back, and the reading area and its selection are as they were.
    EXPECT_EQ(engine->voiceId, QStringLiteral("en-gb"));
    EXPECT_EQ(reader->reText->toPlainText(), text);
    EXPECT_EQ(reader->reText->textCursor().selectedText(), QStringLiteral("The cat is black."));

    setText(text, 23, 23); // the caret in "dog"
    reader->Translate1->trigger();
    EXPECT_TRUE(shown().contains(QStringLiteral("perro"), Qt::CaseInsensitive)) << shown().toStdString();
}

TEST_F(TranslationWindow, TheSentenceBeingReadIsTranslatedAndSaidThenReadingGoesOnWithTheNext)
{
    reader->translation().setLanguage(QStringLiteral("eng-spa"));
    setText(QStringLiteral("The cat is black. The dog is white. The house is big."), 0, 0);
    engine->autoFinish = false;
    reader->StartReading(true);
    engine->word(22, 3); // "dog"
    engine->autoFinish = true;
    engine->spoken.clear();
    reader->Translate1->trigger();

    ASSERT_GE(engine->spoken.size(), 2);
    EXPECT_EQ(engine->spoken[0].voice, QStringLiteral("roa/es"));
    EXPECT_TRUE(engine->spoken[0].text.contains(QStringLiteral("perro"))) << engine->spoken[0].text.toStdString();
    EXPECT_EQ(engine->spoken[1].voice, QStringLiteral("en-gb"));
    EXPECT_EQ(engine->spoken[1].text, QStringLiteral("The house is big."));
}

TEST_F(TranslationWindow, AMissingPairOrNoLanguageIsAMessageAndTheReadingAreaStaysAsItWas)
{
    const QString text = QStringLiteral("The cat is black.");
    setText(text, 0, 3);
    reader->Translate1->trigger();
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.messages[0].contains(QStringLiteral("My language")));

    reader->translation().setLanguage(QStringLiteral("eng-xyz"));
    reader->Translate1->trigger();
    ASSERT_EQ(prompts.messages.size(), 2);
    EXPECT_TRUE(prompts.messages[1].contains(QStringLiteral("\"eng-xyz\" is not installed")));
    EXPECT_FALSE(reader->panTranslation->isVisible());
    EXPECT_EQ(reader->reText->toPlainText(), text);
    EXPECT_EQ(reader->reText->textCursor().selectedText(), QStringLiteral("The"));
}

TEST_F(TranslationWindow, WhileReadingEachSentenceIsShownTranslatedAndNothingElseChanges)
{
    reader->translation().setLanguage(QStringLiteral("eng-spa"));
    reader->translation().setWhileReading(true);
    const QString text = QStringLiteral("The cat is black. The dog is white.");
    setText(text, 0, 0);
    engine->autoFinish = false;
    engine->spoken.clear();
    reader->StartReading(true);
    engine->word(4, 3); // "cat"
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown().contains(QStringLiteral("gato")); }, 10000))
        << shown().toStdString();
    engine->word(22, 3); // "dog"
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown().contains(QStringLiteral("perro")); }, 10000))
        << shown().toStdString();

    // The highlight is the word read, the text and the voice are the reading's own.
    EXPECT_EQ(reader->reText->textCursor().selectedText(), QStringLiteral("dog"));
    EXPECT_EQ(reader->reText->toPlainText(), text);
    EXPECT_EQ(engine->spoken.size(), 1);
    EXPECT_TRUE(reader->model().reading());
    engine->finish();
}

TEST(InterfaceLanguage, UnderSpanishTheDialogsShowSpanishCaptionsAndUnderEnglishTheirOwn)
{
    EXPECT_EQ(InstallInterfaceTranslation(*qApp, {}, QLocale(QStringLiteral("en_GB"))), QString());
    EXPECT_EQ(TextLineDialog().windowTitle(), QStringLiteral("Save"));
    // The title of every message box.
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("Parlivo Study Edition"));

    // The desktop's language, or the one chosen, when a translation of it is built in.
    EXPECT_EQ(InstallInterfaceTranslation(*qApp, {}, QLocale(QStringLiteral("es_MX"))), QStringLiteral("es"));
    {
        TextLineDialog dialog;
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Guardar"));
        EXPECT_EQ(dialog.buSave->text(), QStringLiteral("&Aceptar"));
        EXPECT_EQ(dialog.buCancel->text(), QStringLiteral("&Cancelar"));
    }
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("Parlivo Edición de estudio"));
    removeInterfaceTranslations();
    EXPECT_EQ(InstallInterfaceTranslation(*qApp, QStringLiteral("es"), QLocale::c()), QStringLiteral("es"));
    EXPECT_EQ(TextLineDialog().labPrompt->text(), QStringLiteral("Nombre"));
    removeInterfaceTranslations();
    EXPECT_EQ(InstallInterfaceTranslation(*qApp, QStringLiteral("fr"), QLocale::c()), QString());
}

// The whole window made while the Spanish translation is installed, as at a start under a Spanish desktop.
class SpanishWindow : public ReaderFixture
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(InstallInterfaceTranslation(*qApp, QStringLiteral("es"), QLocale::c()), QStringLiteral("es"));
        ReaderFixture::SetUp();
        create();
    }
    void TearDown() override
    {
        reader.reset();
        removeInterfaceTranslations();
    }
};

TEST_F(SpanishWindow, TheToolbarMenusDialogsAndMessagesAreInSpanishAndTheCommandsStillWork)
{
    EXPECT_EQ(reader->buOpen->text(), QStringLiteral("Abrir"));
    EXPECT_EQ(reader->buExit->text(), QStringLiteral("Salir"));
    EXPECT_EQ(reader->buOpen->accessibleName(), QStringLiteral("Abrir"));
    // Idle, as in English: nothing to pause or stop.
    EXPECT_FALSE(reader->pummiPause->isEnabled());
    EXPECT_FALSE(reader->pummiStop->isEnabled());
    EXPECT_EQ(ItemCaption(reader->pummiRead), QStringLiteral("Empezar/reanudar la lectura del documento"));
    EXPECT_EQ(reader->pummiPause->toolTip(), QStringLiteral("Pausar la lectura del documento (F6)"));
    EXPECT_EQ(reader->miReadersList->title(), QStringLiteral("Lectores de documentos disponibles"));
    EXPECT_EQ(ItemCaption(reader->Translate1), QStringLiteral("Traducir"));
    // The language items are found by their data, so choosing one works whatever the captions say.
    for (QAction* item : reader->miMyLanguage->actions())
        if (item->data().toString() == QStringLiteral("eng-spa"))
            item->trigger();
    EXPECT_EQ(reader->translation().language(), QStringLiteral("eng-spa"));
    reader->translation().setLanguage({});
    reader->Translate1->trigger();
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.messages[0].contains(QStringLiteral("«Mi idioma»"))) << prompts.messages[0].toStdString();
    // A message from below the window, the translator's.
    reader->translation().setLanguage(QStringLiteral("eng-xyz"));
    reader->reText->setPlainText(QStringLiteral("The cat."));
    reader->reText->selectAll();
    reader->Translate1->trigger();
    ASSERT_EQ(prompts.messages.size(), 2);
    EXPECT_TRUE(prompts.messages[1].contains(QStringLiteral("«eng-xyz» no está instalado")))
        << prompts.messages[1].toStdString();

    // The reader bar, the writing help, and messages made below the window: a given text refused, pictures misread.
    EXPECT_EQ(reader->findChild<QToolButton*>(QStringLiteral("buBarPlay"))->text(), QStringLiteral("Leer"));
    EXPECT_EQ(ItemCaption(reader->CheckSpelling1), QStringLiteral("Revisar la ortografía"));
    QString problem;
    readableGivenText(QStringLiteral(" \n"), &problem);
    EXPECT_EQ(problem, QStringLiteral("No hay texto seleccionado ni en el portapapeles."));
    EXPECT_EQ(misreadPagesNote({2, 5}), QStringLiteral("Puede que las páginas 2 y 5 se hayan leído mal"));

    // The Open dialog's filter: the names in Spanish, the patterns as they were.
    const QString filter = openDocumentDialog().filter;
    EXPECT_TRUE(filter.startsWith(QStringLiteral("Documentos válidos (")) &&
                filter.contains(QStringLiteral("|Documento PDF (*.pdf)|*.pdf|")) &&
                filter.contains(QStringLiteral("|Imágenes y escaneados (")) &&
                filter.endsWith(QStringLiteral("|Todos los archivos (*.*)|*.*")))
        << filter.toStdString();

    // A dialog: its captions, and accelerators that stay one letter per control.
    CustomiseDialog dialog(reader->mAppearance, {});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Personalización"));
    EXPECT_EQ(dialog.buApply->text(), QStringLiteral("A&plicar"));
    EXPECT_EQ(dialog.chkSyllables->accessibleName(), QStringLiteral("Mostrar sílabas"));
    dialog.setMyLanguage({}, {}, {});
    dialog.setWindowLanguage(InterfaceLanguages(), {}, {});
    QStringList keys;
    for (const QWidget* control : dialog.findChildren<QWidget*>()) {
        const auto* button = qobject_cast<const QAbstractButton*>(control);
        const auto* label = qobject_cast<const QLabel*>(control);
        const QString text = button ? button->text() : label ? label->text() : QString();
        if (const qsizetype amp = text.indexOf(u'&'); amp >= 0 && amp + 1 < text.size())
            keys << text.mid(amp + 1, 1).toLower();
    }
    EXPECT_GE(keys.size(), 12);
    EXPECT_EQ(QSet<QString>(keys.begin(), keys.end()).size(), keys.size()) << keys.join(u' ').toStdString();
}

// Every caption, hint and spoken name of the main window, its menus and bars, by object name.
QMap<QString, QString> WindowTexts(const MainWindow& window)
{
    QMap<QString, QString> texts;
    const auto add = [&texts](const QObject* owner, const char* kind, const QString& text) {
        if (!owner->objectName().isEmpty() && !text.isEmpty())
            texts.insert(owner->objectName() + u'.' + QLatin1String(kind), text);
    };
    for (const QAction* item : window.findChildren<QAction*>()) {
        add(item, "text", item->text());
        add(item, "toolTip", item->toolTip());
        add(item, "statusTip", item->statusTip());
    }
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        if (const auto* menu = qobject_cast<const QMenu*>(control))
            add(menu, "title", menu->title());
        if (const auto* button = qobject_cast<const QAbstractButton*>(control))
            add(button, "text", button->text());
        if (const auto* label = qobject_cast<const QLabel*>(control))
            add(label, "text", label->text());
        add(control, "toolTip", control->toolTip());
        add(control, "accessibleName", control->accessibleName());
        add(control, "accessibleDescription", control->accessibleDescription());
    }
    return texts;
}

TEST_F(SpanishWindow, NoCaptionHintOrSpokenNameOfTheWindowIsLeftInEnglish)
{
    const QMap<QString, QString> spanish = WindowTexts(*reader);
    for (QTranslator* translator : qApp->findChildren<QTranslator*>())
        QCoreApplication::removeTranslator(translator);
    auto voices = std::make_unique<ScriptedSpeechEngine>();
    voices->installed = engine->installed;
    MainWindow english(std::move(voices));
    ASSERT_TRUE(english.FormCreate());
    const QMap<QString, QString> shown = WindowTexts(english);
    ASSERT_GT(shown.size(), 200);
    // Names stay as they are in every language: the program's and the voices'. The learner's languages are named in
    // the window's.
    static const QRegularExpression words(QStringLiteral("[A-Za-z]{3}"));
    const QSet<QString> names{QStringLiteral("Parlivo"), QStringLiteral("English (Great Britain)"),
                              QStringLiteral("English (America)"), QStringLiteral("French")};
    QStringList left;
    for (auto text = shown.cbegin(); text != shown.cend(); ++text)
        if (spanish.value(text.key()) == text.value() && text.value().contains(words) && !names.contains(text.value()))
            left << text.key() + QStringLiteral(": ") + text.value();
    EXPECT_TRUE(left.isEmpty()) << left.join(u'\n').toStdString();
}

TEST(InterfaceLanguage, EveryCaptionOfTheWindowHasItsSpanish)
{
    // lupdate adds whatever the sources hold that the Spanish file lacks, marked unfinished.
    QTemporaryDir folder;
    const QString source = QStringLiteral(PARLIVO_SOURCE_DIR);
    const QString ts = folder.filePath(QStringLiteral("parlivo_es.ts"));
    ASSERT_TRUE(QFile::copy(source + QStringLiteral("/resources/translations/parlivo_es.ts"), ts));
    QFile::setPermissions(ts, QFile::ReadOwner | QFile::WriteOwner);
    const RunResult run =
        RunProgram(QLibraryInfo::path(QLibraryInfo::BinariesPath) + QStringLiteral("/lupdate"),
                   {QStringLiteral("-silent"), source + QStringLiteral("/window"), source + QStringLiteral("/formats"),
                    source + QStringLiteral("/speech"), source + QStringLiteral("/export"),
                    source + QStringLiteral("/core"), QStringLiteral("-ts"), ts},
                   std::chrono::minutes(1));
    ASSERT_EQ(run.exitCode, 0) << run.startError.toStdString();
    QFile file(ts);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString content = QString::fromUtf8(file.readAll());
    QStringList untranslated;
    static const QRegularExpression message(
        QStringLiteral("<source>(.*?)</source>\\s*<translation( type=\"unfinished\")?>(.*?)</translation>"),
        QRegularExpression::DotMatchesEverythingOption);
    for (const QRegularExpressionMatch& match : message.globalMatch(content)) {
        if (!match.captured(2).isEmpty() || match.captured(3).isEmpty())
            untranslated << match.captured(1);
    }
    EXPECT_TRUE(untranslated.isEmpty()) << untranslated.join(u'\n').toStdString();
    EXPECT_GT(content.count(QStringLiteral("<source>")), 380);
}

} // namespace
