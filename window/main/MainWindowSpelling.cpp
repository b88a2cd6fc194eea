// The spelling tools, opened from the Spell button and its menu.
#include "window/main/MainWindow.h"
#include "window/spelling/SpellingAidDialog.h"
#include "window/spelling/SpellingTestDialog.h"
#include "window/spelling/SpellingBuilderDialog.h"

void MainWindow::StartSpellingTest()
{
    ::StartSpellingTest(*spVoice, FAppearance, FSpellingFile, FSpellingWords, this);
}

void MainWindow::ShowSpellingBuilder()
{
    ::ShowSpellingBuilder(FSpellingBuilder, FSpellingFile, this);
}

void MainWindow::ShowSpellingAssistant()
{
    ::ShowSpellingAssistant(*spVoice, FAppearance, FSpellingFile, this);
}
