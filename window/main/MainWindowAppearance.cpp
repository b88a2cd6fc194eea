// Colours, font sizes, colour schemes and the settings file of the main window.
#include "window/main/ToolbarButton.h"
#include "window/main/MainWindow.h"
#include "window/main/ReaderBar.h"
#include "window/main/MenuMarker.h"
#include "window/settings/MenuDecorator.h"
#include "window/readingarea/ReadingAidsView.h"
#include "window/settings/SettingsFile.h"
#include "window/settings/WindowAppearance.h"
#include "window/settings/CustomiseDialog.h"
#include "window/settings/TranslationSettings.h"
#include "window/settings/InterfaceLanguage.h"
#include "speech/Translation.h"
#include "window/readingarea/LinkClicks.h"
#include "window/writing/DefinitionWindow.h"
#include "window/writing/WritingAids.h"
#include "core/Prompts.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTextEdit>

void MainWindow::setupAppearance()
{
    XPMenu1 = std::make_unique<MenuDecorator>();
    for (QMenu* menu : {pumReaderOnly, pumTextToRead, pumOpenMenu, pumSaveMenu, pumSpellingMode})
        XPMenu1->addMenu(menu);
    AppearanceSurfaces surfaces;
    surfaces.window = this;
    surfaces.toolbar = cbarMain2;
    surfaces.toolbarButtons = {buOpen, buSAve, buSpelling, buMinimise, buExit};
    surfaces.readerPanel = panReader;
    surfaces.textAreaPanel = panTextArea;
    surfaces.readingArea = reText;
    surfaces.addressEdit = edAddress;
    surfaces.statusBar = statusBar;
    surfaces.colourSchemes = miColourSchemes;
    mWindowAppearance = std::make_unique<WindowAppearance>(surfaces, mAppearance, *XPMenu1);
    mWindowAppearance->setApplyOperation([this] { ApplyAppearance(); });
}

void MainWindow::setupReadingAids()
{
    // The reading aids draw through the reading area's one highlighter, under its links.
    LinkHighlighter* highlighter = mLinkClicks->highlighter();
    mReadingAidsView = new ReadingAidsView(reText, [highlighter] { highlighter->reformat(); });
    highlighter->setDecoration([this](const QTextBlock& block, QList<QTextLayout::FormatRange>& ranges) {
        mReadingAidsView->decorate(block, ranges);
    });
}

WindowSettings MainWindow::windowSettings() const
{
    return WindowSettings{!panReader->isHidden(),
                          mSpellingDelay,
                          mAppearance,
                          mReadingAids,
                          mMp3Subtitles,
                          !mReaderBar->isHidden(),
                          mMatchLanguage,
                          mFloatingBar ? mFloatingBar->pos() : mFloatingBarPlace,
                          mWritingAids->help()};
}

void MainWindow::LoadSettings()
{
    WindowSettings settings = windowSettings();
    // The menus are marked as the choices are restored; the decorator draws them once at the end.
    XPMenu1->setActive(false);
    const SettingsRestored restored = ::LoadSettings(*mReading, settings, [this] { AnnounceVoice(); });
    LoadTranslationSettings(*mTranslation);
    XPMenu1->setActive(true);
    panReader->setVisible(settings.readerVisible);
    mSpellingDelay = settings.spellingDelay;
    mAppearance = settings.appearance;
    mReadingAids = settings.readingAids;
    mMp3Subtitles = settings.mp3Subtitles;
    mFloatingBarPlace = settings.floatingBarPlace;
    MatchVoiceToLanguage(settings.matchLanguage);
    ShowReaderBar(settings.readerBarVisible);
    MarkDefault(panReader->isVisibleTo(this) ? Yes1 : No1);
    Mp3Subtitles1->setChecked(mMp3Subtitles);
    mWritingAids->setHelp(settings.writingHelp);
    ShowWritingChoices();
    QStringList notices;
    if (!restored.missingReader.isEmpty())
        notices << tr("The reader \"%1\" is no longer installed; the default voice reads instead.")
                       .arg(restored.missingReader);
    if (!restored.corrected.isEmpty())
        notices << tr("Some settings in Parlivo.ini could not be used and were put right: %1.")
                       .arg(restored.corrected.join(QStringLiteral(", ")));
    if (!notices.isEmpty())
        ShowNotice(notices.join(QLatin1Char(' ')));
}

bool MainWindow::SaveSettings(bool askedToExit)
{
    if (mSettingsTimer)
        mSettingsTimer->stop();
    QString failure = ::SaveSettings(*mReading, windowSettings());
    if (failure.isEmpty())
        failure = SaveTranslationSettings(*mTranslation);
    if (failure.isEmpty())
        return true;
    if (askedToExit)
        prompts().message(tr("Your settings could not be saved. %1").arg(failure), MessageKind::Warning);
    else
        ShowNotice(tr("Your settings could not be saved. %1").arg(failure));
    return false;
}

void MainWindow::ApplyAppearance()
{
    mWindowAppearance->ApplyAppearance();
    // The reader panel's buttons follow the toolbar's look.
    for (QWidget* button : {static_cast<QWidget*>(buReadingAreaClear), static_cast<QWidget*>(buFind)})
        button->setFont(cbarMain2->font());
    // Links stay readable on a dark reading area as on a light one.
    const bool dark = reText->palette().color(QPalette::Base).lightness() < 128;
    mLinkClicks->setLinkColour(dark ? QColor(120, 180, 255) : QColor(0, 0, 204));
    // The hint in the empty reading area: the text colour, fainter, so it is read on any scheme but not taken
    // for text.
    QPalette faint = reText->palette();
    QColor hint = faint.color(QPalette::Text);
    hint.setAlpha(150);
    faint.setColor(QPalette::PlaceholderText, hint);
    reText->setPalette(faint);
    mReadingAidsView->setAids(mReadingAids);
    for (DefinitionWindow* definition : findChildren<DefinitionWindow*>())
        definition->setReadingFont(mReadingAidsView->textFont());
    applyReaderBarLook();
}

void MainWindow::ListColourSchemes()
{
    mWindowAppearance->ListColourSchemes();
}

void MainWindow::ChooseColourScheme(QAction* item)
{
    mWindowAppearance->ChooseColourScheme(item);
    SettingsChanged();
}

void MainWindow::OpenCustomisation()
{
    ::OpenCustomisation(
        this, mAppearance, mReadingAids, [this] { ApplyAppearance(); },
        [this](CustomiseDialog& dialog) {
            dialog.setMyLanguage(mTranslator->languages(), mTranslation->language(),
                                 [this](const QString& mode) { mTranslation->setLanguage(mode); });
            dialog.setWindowLanguage(InterfaceLanguages(), SavedInterfaceLanguage(),
                                     [](const QString& language) { SaveInterfaceLanguage(language); });
        });
    SettingsChanged();
}
