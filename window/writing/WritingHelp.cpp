#include "window/writing/WritingHelp.h"

#include "core/ProfileStrings.h"

#include <algorithm>

namespace {
constexpr auto SpellCheckKey = u"SpellCheck";
constexpr auto ConfusablesKey = u"ConfusableWords";
constexpr auto PredictionKey = u"WordPrediction";
constexpr QStringView Keys[] = {SpellCheckKey, ConfusablesKey, PredictionKey};
} // namespace

WritingHelp ReadWritingHelp(const ProfileStrings& ini)
{
    const WritingHelp defaults;
    const auto flag = [&](QStringView key, bool fallback) {
        return ini.readInteger(WritingHelpSection, key, fallback ? 1 : 0) != 0;
    };
    WritingHelp help;
    help.SpellCheck = flag(SpellCheckKey, defaults.SpellCheck);
    help.Confusables = flag(ConfusablesKey, defaults.Confusables);
    help.WordPrediction = flag(PredictionKey, defaults.WordPrediction);
    return help;
}

void WriteWritingHelp(const ProfileStrings& ini, const WritingHelp& help)
{
    // A file from before the writing help saves back as it was while nothing was changed.
    const bool written = std::any_of(std::begin(Keys), std::end(Keys), [&](QStringView key) {
        return ini.readInteger(WritingHelpSection, key, -1) != -1;
    });
    if (!written && help == WritingHelp{})
        return;
    const auto write = [&](QStringView key, bool on) { ini.writeInteger(WritingHelpSection, key.toString(), on); };
    write(SpellCheckKey, help.SpellCheck);
    write(ConfusablesKey, help.Confusables);
    write(PredictionKey, help.WordPrediction);
}
