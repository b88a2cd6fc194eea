// The spelling tools, opened from the Spell button and its menu.
#include "window/main/MainWindow.h"
#include "window/spelling/SpellingAidDialog.h"
#include "window/spelling/SpellingTestDialog.h"
#include "window/spelling/SpellingBuilderDialog.h"

void MainWindow::StartSpellingTest()
{
    ::StartSpellingTest(*spVoice, mAppearance, mSpellingFile, mSpellingWords, this);
}

void MainWindow::ShowSpellingBuilder()
{
    ::ShowSpellingBuilder(mSpellingBuilder, mSpellingFile, this);
}

void MainWindow::ShowSpellingAssistant()
{
    ::ShowSpellingAssistant(*spVoice, mAppearance, mSpellingFile, this);
}
