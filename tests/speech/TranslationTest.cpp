// Translation with the real Apertium English-Spanish pair, and with fake pairs that are missing, hang or crash.
#include "speech/Translation.h"
#include "speech/EspeakEngine.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::HasSubstr;

std::string messageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const TranslationError& error) {
        return error.message().toStdString();
    }
    return "(no error)";
}

TEST(Translation, TheInstalledSpanishPairTranslatesAWordASentenceAndAParagraph)
{
    const Translator translator;
    const auto spanish = translator.language(QStringLiteral("eng-spa"));
    ASSERT_TRUE(spanish) << "apertium-eng-spa is not installed";
    EXPECT_EQ(spanish->code, QStringLiteral("es"));
    EXPECT_EQ(spanish->name, QStringLiteral("Spanish"));
    bool listed = false;
    for (const TranslationLanguage& language : translator.languages())
        listed = listed || language.mode == QStringLiteral("eng-spa");
    EXPECT_TRUE(listed);
    // espeak-ng has a voice for it, which says the translation.
    EspeakEngine::Options clock;
    clock.useClock = true;
    Voice espeak(std::make_unique<EspeakEngine>(clock));
    const auto spanishVoice = VoiceForLanguage(espeak.GetVoices(), spanish->code);
    ASSERT_TRUE(spanishVoice);
    EXPECT_EQ(spanishVoice->language, QStringLiteral("es"));

    EXPECT_TRUE(translator.translate(QStringLiteral("cat"), spanish->mode)
                    .text.contains(QStringLiteral("gato"), Qt::CaseInsensitive));
    const TranslatedText sentence = translator.translate(QStringLiteral("The cat is black."), spanish->mode);
    EXPECT_TRUE(sentence.text.contains(QStringLiteral("gato"))) << sentence.text.toStdString();
    EXPECT_TRUE(sentence.text.contains(QStringLiteral("negro"))) << sentence.text.toStdString();
    EXPECT_TRUE(sentence.unknownWords.isEmpty());

    // Words Apertium does not know stay visible, marked; the voice gets them without the mark. Lines stay lines.
    const TranslatedText paragraph = translator.translate(
        QStringLiteral("The children read books in the morning. My friend Zorblat lives in a big house.\n"
                       "The dog runs across the green field."),
        spanish->mode);
    EXPECT_TRUE(paragraph.text.contains(QStringLiteral("*Zorblat"))) << paragraph.text.toStdString();
    EXPECT_EQ(paragraph.unknownWords, QStringList{QStringLiteral("Zorblat")});
    EXPECT_FALSE(paragraph.spoken().contains(u'*'));
    EXPECT_TRUE(paragraph.spoken().contains(QStringLiteral("Zorblat")));
    EXPECT_EQ(paragraph.text.count(u'\n'), 1);
    EXPECT_TRUE(paragraph.text.contains(QStringLiteral("perro"))) << paragraph.text.toStdString();

    // Text that is not English, or too long to translate in a moment, is refused with a message.
    EXPECT_THAT(messageOf([&] {
                    translator.translate(QStringLiteral("El gato es negro y la casa es grande."), spanish->mode);
                }),
                HasSubstr("does not look like English"));
    const QString tenMegabytes(10 * 1024 * 1024, u'a');
    EXPECT_THAT(messageOf([&] { translator.translate(tenMegabytes, spanish->mode); }), HasSubstr("too long"));
    EXPECT_TRUE(translator.translate(QStringLiteral("  \n"), spanish->mode).text.isEmpty());
}

class FakePairs : public ::testing::Test
{
protected:
    void addMode(const char* name, const char* line)
    {
        QFile mode(folder.filePath(QString::fromUtf8(name) + QStringLiteral(".mode")));
        ASSERT_TRUE(mode.open(QIODevice::WriteOnly));
        mode.write(line);
    }

    QTemporaryDir folder;
};

TEST_F(FakePairs, OnlyPairsFromEnglishAreOfferedAndAMissingOneIsAClearError)
{
    addMode("eng-spa", "cat");
    addMode("en-gl", "cat");
    addMode("eng-cat_valencia", "cat");
    addMode("spa-eng", "cat");
    addMode("eng-spa-tagger", "cat");
    const Translator translator(folder.path());
    QStringList offered;
    for (const TranslationLanguage& language : translator.languages())
        offered << language.mode + u'=' + language.code + u'=' + language.name;
    EXPECT_EQ(offered.join(u' ').toStdString(), "eng-cat_valencia=ca=Catalan (valencia) en-gl=gl=Galician "
                                                "eng-spa=es=Spanish");

    EXPECT_THAT(messageOf([&] { translator.translate(QStringLiteral("The cat."), QStringLiteral("eng-fra")); }),
                HasSubstr("\"eng-fra\" is not installed"));
}

TEST_F(FakePairs, AHungCrashedOrShellOnlyTranslatorIsStoppedWithAMessage)
{
    addMode("eng-spa", "sleep 30");
    addMode("eng-cat", "sh -c 'kill -SEGV $$'");
    addMode("eng-glg", "cat > /tmp/parlivo-translation-leak");
    const Translator translator(folder.path());

    EXPECT_THAT(messageOf([&] {
                    translator.translate(QStringLiteral("The cat."), QStringLiteral("eng-spa"),
                                         std::chrono::seconds(1));
                }),
                HasSubstr("did not finish within 1 seconds"));
    EXPECT_THAT(messageOf([&] { translator.translate(QStringLiteral("The cat."), QStringLiteral("eng-cat")); }),
                HasSubstr("sh crashed"));
    EXPECT_THAT(messageOf([&] { translator.translate(QStringLiteral("The cat."), QStringLiteral("eng-glg")); }),
                HasSubstr("asks for a command Parlivo does not run"));
    EXPECT_FALSE(QFile::exists(QStringLiteral("/tmp/parlivo-translation-leak")));
}

TEST_F(FakePairs, ATranslatorsBackgroundHelperAndEndlessOutputAreStopped)
{
    // The helper would hold the pipe open, and the translation wait, until the time limit.
    const QString pidFile = folder.filePath(QStringLiteral("helper.pid"));
    addMode("eng-spa", QStringLiteral("sh -c 'sleep 30 & echo $! > %1; cat'").arg(pidFile).toUtf8().constData());
    addMode("eng-cat", "sh -c 'cat; yes Lorem ipsum dolor sit amet'");
    const Translator translator(folder.path());
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(translator.translate(QStringLiteral("The cat."), QStringLiteral("eng-spa")).text,
              QStringLiteral("The cat."));
    EXPECT_LT(clock.elapsed(), 5000);
    QFile helper(pidFile);
    ASSERT_TRUE(helper.open(QIODevice::ReadOnly));
    QThread::msleep(100);
    QFile stat(QStringLiteral("/proc/%1/stat").arg(QString::fromLatin1(helper.readAll().trimmed())));
    EXPECT_TRUE(!stat.open(QIODevice::ReadOnly) || stat.readAll().contains(") Z ")) << "the helper still runs";

    clock.restart();
    EXPECT_THAT(messageOf([&] { translator.translate(QStringLiteral("The cat."), QStringLiteral("eng-cat")); }),
                HasSubstr("wrote more than 16 MB of text and was stopped"));
    EXPECT_LT(clock.elapsed(), 8000);
}

TEST(Translation, AModeLineBecomesArgumentVectorsWithUnknownWordsMarked)
{
    EXPECT_EQ(ModePipeline(QStringLiteral("lt-proc '/a b/x.bin' | apertium-tagger -g $2 'p' | lt-proc $1 \"g\\\"h\"")),
              (QList<QStringList>{{QStringLiteral("lt-proc"), QStringLiteral("/a b/x.bin")},
                                  {QStringLiteral("apertium-tagger"), QStringLiteral("-g"), QStringLiteral("p")},
                                  {QStringLiteral("lt-proc"), QStringLiteral("-g"), QStringLiteral("g\"h")}}));
    for (const char* refused : {"a; rm x", "a && b", "a $HOME", "a | | b", "a 'open", "a $(b)", "a | "})
        EXPECT_TRUE(ModePipeline(QString::fromUtf8(refused)).isEmpty()) << refused;
}

} // namespace
