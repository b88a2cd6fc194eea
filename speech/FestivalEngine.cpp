#include "speech/FestivalEngine.h"

#include "core/Errors.h"

#include <festival/festival.h>

#include <QCoreApplication>
#include <QHash>
#include <QLocale>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
#include <thread>

namespace {

constexpr int NormalWordsPerMinute = 175;
// How much a sentence's first part may say when Festival's phrasing puts no break early in it, in letters of the
// spoken words (about seven words): Festival makes that in some 60 ms, where a whole sentence of 80 words takes
// half a second or more. Its sound lasts long enough for the next part to be made meanwhile.
constexpr int MaxFirstPartLetters = 36;
// How much each later part of a long sentence may say (about fifteen words, some 150 ms of Festival's work): a new
// reading, or Stop, waits at most for the part being made, and parts this long keep the run of the speech.
constexpr int MaxPartLetters = 72;
// The quiet kept where a part ends inside a phrase, before the next part's words run on.
constexpr qint64 JoinSamples = Synthesis::SampleRate / 200;
// The cells of Festival's Lisp heap. Its letter-to-sound rules, used for every word its lexicon lacks (most names),
// need far more than the library's default of 210,000; a million take about 32 MB.
constexpr int HeapCells = 1000000;

// Festival keeps global state, cannot be started twice, and its interpreter checks the stack of the thread that
// started it: every use in the process runs on this one thread, whichever engine asks.
class FestivalThread
{
public:
    static FestivalThread& instance()
    {
        static FestivalThread thread;
        return thread;
    }

    // The voice whose models Festival holds, whichever engine loaded it; used on the Festival thread only.
    QString loadedVoice;

    // Runs `work` on the Festival thread and returns its result (or throws what it threw).
    template <typename Work> auto run(Work work) -> decltype(work())
    {
        std::packaged_task<decltype(work())()> task(std::move(work));
        auto result = task.get_future();
        {
            std::lock_guard lock(mMutex);
            mTasks.push_back([&task] { task(); });
        }
        mWake.notify_one();
        return result.get();
    }

private:
    FestivalThread()
    {
        mThread = std::thread([this] {
            while (true) {
                std::function<void()> task;
                {
                    std::unique_lock lock(mMutex);
                    mWake.wait(lock, [this] { return mQuit || !mTasks.empty(); });
                    if (mTasks.empty())
                        return;
                    task = std::move(mTasks.front());
                    mTasks.pop_front();
                }
                task();
            }
        });
    }

    ~FestivalThread()
    {
        {
            std::lock_guard lock(mMutex);
            mQuit = true;
        }
        mWake.notify_one();
        mThread.join();
    }

    std::mutex mMutex;
    std::condition_variable mWake;
    std::deque<std::function<void()>> mTasks;
    bool mQuit = false;
    std::thread mThread;
};

bool evaluate(const QString& expression)
{
    return festival_eval_command(EST_String(expression.toUtf8().constData()));
}

QString lispString(LISP value)
{
    return value == NIL ? QString() : QString::fromUtf8(get_c_string(value));
}

// A field of a voice's description: ((language english) (gender female) (dialect american) ...).
QString descriptionField(LISP description, const char* key)
{
    for (LISP entry = description; entry != NIL && consp(entry); entry = cdr(entry)) {
        const LISP pair = car(entry);
        if (consp(pair) && lispString(car(pair)) == QLatin1String(key) && consp(cdr(pair)))
            return lispString(car(cdr(pair)));
    }
    return {};
}

// The language tag of a tongue as Festival names it ("spanish" gives "es"), or empty when no language has that name.
QString languageTag(const QString& tongue)
{
    for (int language = QLocale::AnyLanguage + 1; language <= QLocale::LastLanguage; ++language) {
        const auto known = QLocale::Language(language);
        if (QLocale::languageToString(known).compare(tongue, Qt::CaseInsensitive) == 0)
            return QLocale::languageToCode(known);
    }
    return {};
}

// "US English, female (Festival)" from what the voice says of itself. Festival's voices are made from recordings of
// a speaker, so they are the natural ones.
EngineVoice describeVoice(const QString& name)
{
    QString language = name;
    QString tag;
    QString gender;
    if (evaluate(QStringLiteral("(set! parlivo_description (cadr (voice.description '%1)))").arg(name))) {
        const LISP description = siod_get_lval("parlivo_description", nullptr);
        const QString dialect = descriptionField(description, "dialect");
        const QString tongue = descriptionField(description, "language");
        gender = descriptionField(description, "gender");
        if (tongue == QLatin1String("english")) {
            const bool american = dialect == QLatin1String("american");
            const bool british = dialect == QLatin1String("british");
            language = american  ? QStringLiteral("US English")
                       : british ? QStringLiteral("British English")
                                 : QStringLiteral("English");
            tag = american ? QStringLiteral("en-us") : british ? QStringLiteral("en-gb") : QStringLiteral("en");
        } else if (!tongue.isEmpty()) {
            language = tongue.at(0).toUpper() + tongue.mid(1);
            tag = languageTag(tongue);
        }
    }
    const QString described = gender.isEmpty() ? QStringLiteral("%1 (Festival)").arg(language)
                                               : QStringLiteral("%1, %2 (Festival)").arg(language, gender);
    return {FestivalVoicePrefix + name, described, tag, true};
}

class FestivalSynthesizer : public Synthesizer
{
public:
    void start() override
    {
        FestivalThread::instance().run([] {
            static bool started = false;
            if (!started) {
                festival_initialize(1, HeapCells);
                started = true;
            }
            if (!evaluate(QStringLiteral("(set! parlivo_voices (voice.list))")) ||
                siod_get_lval("parlivo_voices", nullptr) == NIL)
                throw SpeechError(QCoreApplication::translate("FestivalEngine", "Festival has no voice installed."));
        });
    }

    QList<EngineVoice> voices() override
    {
        return FestivalThread::instance().run([] { return listVoices(); });
    }

    static QList<EngineVoice> listVoices()
    {
        QList<EngineVoice> voices;
        if (!evaluate(QStringLiteral("(set! parlivo_voices (voice.list))")))
            return voices;
        for (LISP entry = siod_get_lval("parlivo_voices", nullptr); entry != NIL; entry = cdr(entry)) {
            const QString name = lispString(car(entry));
            voices.append(describeVoice(name));
        }
        return voices;
    }

    bool setVoice(const QString& id) override
    {
        const QString name =
            id.isEmpty() ? QStringLiteral("cmu_us_slt_arctic_hts") : id.mid(FestivalVoicePrefix.size());
        if (!id.isEmpty() && !id.startsWith(FestivalVoicePrefix))
            return false;
        mVoice = name;
        return true;
    }

    void setWordsPerMinute(int wordsPerMinute) override { mWordsPerMinute = wordsPerMinute; }

    std::vector<Cut> parts(const QString& text, bool awaited) override
    {
        const auto letters = std::count_if(text.begin(), text.end(), [](QChar c) { return c.isLetterOrNumber(); });
        if (!awaited && letters <= MaxPartLetters)
            return {};
        return FestivalThread::instance().run([&] {
            prepareVoice();
            return cutsOf(text, awaited);
        });
    }

    bool synthesize(const QString& text, bool endPause, bool, Synthesis& out, const std::function<bool()>& cancelled,
                    const std::function<void(const Synthesis&)>& grown) override
    {
        FestivalThread::instance().run([&] {
            prepareVoice(); // another engine may have used Festival since
            synthesizeInParts(text, out);
            // Festival closes every utterance with a pause; where the sentence runs on, so do the words.
            if (!endPause)
                out.pcm.truncate(std::min(out.samples(), out.speechEnd + JoinSamples) * 2);
        });
        if (grown && !out.pcm.isEmpty())
            grown(out);
        return !(cancelled && cancelled());
    }

private:
    // Finds the written tokens of Festival's Token relation in the text they came from, in order.
    class TokenFinder
    {
    public:
        explicit TokenFinder(const QString& text) : mText(text) {}
        // Where `token` starts in the text (then lastLength() is its length), or -1 when it is not there.
        qsizetype find(EST_Item* token)
        {
            if (!token)
                return -1;
            const QString written = QString::fromUtf8(static_cast<const char*>(token->name()));
            const qsizetype at = written.isEmpty() ? -1 : mText.indexOf(written, mFrom);
            if (at >= 0) {
                mFrom = at + written.size();
                mLength = written.size();
            }
            return at;
        }
        qsizetype lastLength() const { return mLength; }

    private:
        const QString& mText;
        qsizetype mFrom = 0;
        qsizetype mLength = 0;
    };

    // On the Festival thread: selects the voice, loading its models once (keeping the engine parameters it sets),
    // and adds the speed to those parameters.
    void prepareVoice()
    {
        QString& loadedVoice = FestivalThread::instance().loadedVoice;
        if (mVoice != loadedVoice) {
            if (!evaluate(QStringLiteral("(voice_%1)").arg(mVoice)))
                throw SpeechError(
                    QCoreApplication::translate("FestivalEngine", "The Festival voice \"%1\" is not installed.")
                        .arg(mVoice));
            evaluate(QStringLiteral("(set! parlivo_hts_params hts_engine_params)"));
            loadedVoice = mVoice;
        }
        const double speed = std::clamp(double(mWordsPerMinute) / NormalWordsPerMinute, 0.3, 3.0);
        evaluate(
            QStringLiteral("(set! hts_engine_params (append parlivo_hts_params (list (list \"-r\" %1))))").arg(speed));
    }

    static EST_String quoted(const QString& text)
    {
        return quote_string(EST_String(text.toUtf8().constData()), "\"", "\\", 1);
    }

    // On the Festival thread, with the voice prepared: where a sentence is best made in parts. When a listener waits,
    // the first part is the first phrase Festival itself ends with a break, or the words within MaxFirstPartLetters;
    // each later part says at most MaxPartLetters, ending at its last phrase break, else before a function word
    // ("that", "in", "and") in its second half, as a reader might pause there, else after its last whole word. Only
    // the text analysis runs for it, which takes a few milliseconds. Never cuts inside a written word ("$3.50",
    // "well-known"), whose spoken words Festival glues together.
    std::vector<Cut> cutsOf(const QString& text, bool awaited)
    {
        const EST_String analyse = EST_String("(begin (set! parlivo_utterance (Utterance Text ") + quoted(text) +
                                   ")) (Initialize parlivo_utterance) (Text parlivo_utterance)"
                                   " (Token_POS parlivo_utterance) (Token parlivo_utterance)"
                                   " (POS parlivo_utterance) (Phrasify parlivo_utterance) t)";
        if (!festival_eval_command(analyse))
            return {};
        EST_Utterance* utterance = ::utterance(siod_get_lval("parlivo_utterance", nullptr));
        // A place a part may end: after a written word, with the letters of the part up to there.
        struct Place
        {
            qsizetype end = 0;
            int letters = 0;
            bool pause = false;
        };
        std::vector<Cut> cuts;
        TokenFinder tokens(text);
        bool first = awaited;
        int limit = first ? MaxFirstPartLetters : MaxPartLetters;
        int letters = 0;
        Place latest, phrase, beforeFunction; // within the part being gathered
        const auto cut = [&](const Place& place) {
            cuts.push_back({place.end, place.pause});
            letters -= place.letters;
            latest = phrase = beforeFunction = Place();
            first = false;
            limit = MaxPartLetters;
        };
        for (EST_Item* word = utterance->relation("Word")->head(); word && inext(word); word = inext(word)) {
            const EST_String kind = ffeature(word, "gpos").string();
            if (kind != "punc")
                letters += word->name().length();
            EST_Item* token = parent(word, "Token");
            if (token == parent(inext(word), "Token"))
                continue;
            const qsizetype at = tokens.find(token);
            if (at < 0)
                continue;
            qsizetype end = at + tokens.lastLength();
            while (end < text.size() && !text.at(end).isSpace())
                ++end;
            if (letters > limit && latest.end > 0)
                cut(phrase.end > 0 ? phrase : beforeFunction.end > 0 ? beforeFunction : latest);
            const Place here{end, letters, bool(word->S("pbreak", "NB") != "NB")};
            if ((first && here.pause) || letters > limit) {
                cut(here);
                continue;
            }
            latest = here;
            if (here.pause)
                phrase = here;
            const EST_String next = ffeature(inext(word), "gpos").string();
            if (letters * 2 >= limit && (kind == "content" || kind == "punc") && next != "content" && next != "punc")
                beforeFunction = here;
        }
        // A part is only worth making when something is said after it.
        while (!cuts.empty() &&
               std::none_of(text.begin() + cuts.back().end, text.end(), [](QChar c) { return c.isLetterOrNumber(); }))
            cuts.pop_back();
        return cuts;
    }

    // Puts the synthesis of the text that follows `points` code points at the end of `out`.
    static void append(Synthesis& out, const Synthesis& rest, int points)
    {
        const qint64 samples = out.samples();
        out.pcm += rest.pcm;
        for (WordMark word : rest.words) {
            word.position += points;
            word.sample += samples;
            out.words.push_back(word);
        }
        for (PhonemeMark phone : rest.phonemes) {
            phone.sample += samples;
            out.phonemes.push_back(phone);
        }
        out.speechEnd = samples + rest.speechEnd;
    }

    // On the Festival thread. A text Festival cannot make at once (a long run of words it must sound out by rule
    // can fill its heap) is made in halves cut at a space, down to single words.
    void synthesizeInParts(const QString& text, Synthesis& out)
    {
        if (synthesizeHere(text, out))
            return;
        qsizetype cut = text.lastIndexOf(QLatin1Char(' '), text.size() / 2);
        if (cut <= 0)
            cut = text.indexOf(QLatin1Char(' '), text.size() / 2);
        if (cut <= 0 || text.left(cut).trimmed().isEmpty() || text.mid(cut).trimmed().isEmpty())
            throw SpeechError(QCoreApplication::translate("FestivalEngine", "Festival could not speak the text."));
        Synthesis rest;
        synthesizeInParts(text.left(cut), out);
        synthesizeInParts(text.mid(cut), rest);
        append(out, rest, CodePoints(text).count(0, int(cut)));
    }

    // On the Festival thread, with the voice prepared; false when Festival failed on the text.
    bool synthesizeHere(const QString& text, Synthesis& out)
    {
        out = Synthesis();
        if (!festival_eval_command(EST_String("(set! parlivo_utterance (SynthText ") + quoted(text) + "))"))
            return false;
        EST_Utterance* utterance = ::utterance(siod_get_lval("parlivo_utterance", nullptr));
        if (!utterance || !utterance->relation_present("Wave") || !utterance->relation("Wave")->head())
            return true;
        EST_Wave* wave = ::wave(utterance->relation("Wave")->head()->f("wave"));
        wave->resample(Synthesis::SampleRate);
        out.pcm =
            QByteArray(reinterpret_cast<const char*>(wave->values().memory()), qsizetype(wave->num_samples()) * 2);
        const auto sampleAt = [](double seconds) { return qint64(seconds * Synthesis::SampleRate); };

        // Phones: each segment ends at its "end"; it starts where the one before it ended.
        double phoneStart = 0;
        out.speechEnd = out.samples();
        for (EST_Item* segment = utterance->relation("Segment")->head(); segment; segment = inext(segment)) {
            PhonemeMark phone;
            const QByteArray name = QByteArray(static_cast<const char*>(segment->name())).left(8);
            std::copy(name.begin(), name.end(), phone.name.begin());
            phone.sample = sampleAt(phoneStart);
            phone.viseme = visemeForFestivalPhone(QString::fromLatin1(name));
            out.phonemes.push_back(phone);
            if (name != "pau")
                out.speechEnd = std::min<qint64>(out.samples(), sampleAt(segment->F("end")));
            phoneStart = segment->F("end");
        }
        // Words: the written token each spoken word came from is what the highlight selects; a token read as
        // several words ("$3.50") starts with the first of them.
        const CodePoints points(text);
        TokenFinder tokens(text);
        EST_Item* lastToken = nullptr;
        for (EST_Item* word = utterance->relation("Word")->head(); word; word = inext(word)) {
            EST_Item* token = parent(word, "Token");
            if (token == lastToken)
                continue;
            lastToken = token;
            const qsizetype at = tokens.find(token);
            if (at < 0)
                continue;
            out.words.push_back(
                {points.position(int(at)), points.count(int(at), int(tokens.lastLength())), sampleAt(wordStart(word))});
        }
        dropLeadingPause(out);
        return true;
    }

    // 1-based code point positions, as the word aligner takes them, of UTF-16 indexes of a text.
    class CodePoints
    {
    public:
        explicit CodePoints(const QString& text) : mText(text) {}
        int position(int unit) const { return count(0, unit) + 1; }
        int count(int from, int units) const
        {
            int points = 0;
            for (int i = from; i < from + units && i < mText.size(); ++i)
                points += !mText.at(i).isLowSurrogate();
            return points;
        }

    private:
        const QString& mText;
    };

    // Festival opens every sentence with a pause of about 0.2 s; the sentence starts with its sound instead (20 ms
    // before it), so its time is when it is heard (the pause at the end of the sentence before still separates
    // them).
    static void dropLeadingPause(Synthesis& out)
    {
        constexpr qint64 keep = Synthesis::SampleRate / 50;
        const auto sound = std::find_if(out.phonemes.begin(), out.phonemes.end(),
                                        [](const PhonemeMark& phone) { return phone.viseme != 0; });
        const qint64 lead = sound == out.phonemes.end() ? 0 : std::max<qint64>(0, sound->sample - keep);
        if (lead == 0)
            return;
        out.pcm.remove(0, lead * 2);
        for (PhonemeMark& phone : out.phonemes)
            phone.sample = std::max<qint64>(0, phone.sample - lead);
        for (WordMark& word : out.words)
            word.sample = std::max<qint64>(0, word.sample - lead);
        out.speechEnd = std::max<qint64>(0, out.speechEnd - lead);
    }

    // Where a word's first phone starts: the end of the phone before it.
    static double wordStart(EST_Item* word)
    {
        EST_Item* syllable = daughter1(word, "SylStructure");
        EST_Item* first = syllable ? daughter1(syllable) : nullptr;
        if (!first)
            return 0;
        EST_Item* segment = first->as_relation("Segment");
        EST_Item* before = segment ? iprev(segment) : nullptr;
        return before ? before->F("end") : 0.0;
    }

    QString mVoice = QStringLiteral("cmu_us_slt_arctic_hts");
    int mWordsPerMinute = NormalWordsPerMinute;
};

} // namespace

int visemeForFestivalPhone(const QString& phone)
{
    static const QHash<QString, int> visemes = [] {
        QHash<QString, int> table;
        const std::pair<const char*, int> entries[] = {
            {"ae", 1}, {"ah", 1},  {"ax", 1},  {"aa", 2},  {"ao", 3},  {"ey", 4},  {"eh", 4},  {"uh", 4},
            {"er", 5}, {"axr", 5}, {"y", 6},   {"iy", 6},  {"ih", 6},  {"ix", 6},  {"w", 7},   {"uw", 7},
            {"ow", 8}, {"aw", 9},  {"oy", 10}, {"ay", 11}, {"hh", 12}, {"r", 13},  {"l", 14},  {"el", 14},
            {"s", 15}, {"z", 15},  {"sh", 16}, {"ch", 16}, {"jh", 16}, {"zh", 16}, {"th", 17}, {"dh", 17},
            {"f", 18}, {"v", 18},  {"d", 19},  {"t", 19},  {"n", 19},  {"en", 19}, {"dx", 19}, {"nx", 19},
            {"k", 20}, {"g", 20},  {"ng", 20}, {"p", 21},  {"b", 21},  {"m", 21},  {"em", 21}};
        for (const auto& [name, viseme] : entries)
            table.insert(QString::fromLatin1(name), viseme);
        return table;
    }();
    return visemes.value(phone, 0);
}

FestivalEngine::FestivalEngine(const Options& options, QObject* parent)
    : SynthesisEngine(std::make_unique<FestivalSynthesizer>(), options, parent)
{
}
