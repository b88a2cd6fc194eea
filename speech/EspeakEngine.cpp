#include "speech/EspeakEngine.h"

#include "speech/EspeakLibrary.h"
#include "speech/EspeakVoices.h"

namespace {

// libespeak-ng through its sessions, which keep any other user of the library out while they last.
class EspeakSynthesizer : public Synthesizer
{
public:
    explicit EspeakSynthesizer(const QString& dataPath) : mDataPath(dataPath) {}

    void start() override { EspeakSession::start(mDataPath); }
    void stop() override { EspeakSession::stop(); }
    QList<EngineVoice> voices() override { return describeVoices(EspeakSession().voices()); }
    bool setVoice(const QString& id) override { return EspeakSession().setVoice(id); }
    void setWordsPerMinute(int wordsPerMinute) override { EspeakSession().setWordsPerMinute(wordsPerMinute); }
    // espeak-ng hands its audio over as it goes, so the first sound comes soon in any case.
    bool synthesize(const QString& text, bool endPause, bool, Synthesis& out, const std::function<bool()>& cancelled,
                    const std::function<void(const Synthesis&)>& grown) override
    {
        return EspeakSession().synthesize(text, endPause, out, cancelled, grown);
    }

private:
    QString mDataPath;
};

} // namespace

EspeakEngine::EspeakEngine(const Options& options, QObject* parent)
    : SynthesisEngine(std::make_unique<EspeakSynthesizer>(options.dataPath), options, parent)
{
}
