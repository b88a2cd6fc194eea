// The spelling tools, opened from the Spell button and its menu.
#include "app/uParlivo.h"
#include "spelling/uSpellingAid.h"
#include "spelling/uSpellingTest.h"
#include "spelling/uSpellings.h"

void TfrmReader::StartSpellingTest()
{
    ::StartSpellingTest(*spVoice, FAppearance, FSpellingFile, FSpellingWords, this);
}

void TfrmReader::ShowSpellingBuilder()
{
    ::ShowSpellingBuilder(FSpellingBuilder, FSpellingFile, this);
}

void TfrmReader::ShowSpellingAssistant()
{
    ::ShowSpellingAssistant(*spVoice, FAppearance, FSpellingFile, this);
}
