// Colours, font sizes, colour schemes and the settings file of the main window.
#include "window/main/ToolbarButton.h"
#include "window/main/MainWindow.h"
#include "window/main/MenuMarker.h"
#include "window/settings/MenuDecorator.h"
#include "window/readingarea/ReadingAidsView.h"
#include "window/settings/SettingsFile.h"
#include "window/settings/WindowAppearance.h"
#include "window/settings/CustomiseDialog.h"
#include "window/readingarea/LinkClicks.h"

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
    FWindowAppearance = std::make_unique<WindowAppearance>(surfaces, FAppearance, *XPMenu1);
    FWindowAppearance->setApplyOperation([this] { ApplyAppearance(); });
}

void MainWindow::setupReadingAids()
{
    // The reading aids draw through the reading area's one highlighter, under its links.
    LinkHighlighter* highlighter = FLinkClicks->highlighter();
    FReadingAidsView = new ReadingAidsView(reText, [highlighter] { highlighter->reformat(); });
    highlighter->setDecoration(
        [view = FReadingAidsView](const QTextBlock& block, QList<QTextLayout::FormatRange>& ranges) {
            view->decorate(block, ranges);
        });
}

WindowSettings MainWindow::windowSettings() const
{
    return WindowSettings{!panReader->isHidden(), FSpellingDelay, FAppearance, FReadingAids, FMp3Subtitles};
}

void MainWindow::LoadSettings()
{
    WindowSettings settings = windowSettings();
    // The menus are marked as the choices are restored; the decorator draws them once at the end.
    XPMenu1->setActive(false);
    const QString missingReader = ::LoadSettings(*FReading, settings, [this] { AnnounceVoice(); });
    XPMenu1->setActive(true);
    panReader->setVisible(settings.readerVisible);
    FSpellingDelay = settings.spellingDelay;
    FAppearance = settings.appearance;
    FReadingAids = settings.readingAids;
    FMp3Subtitles = settings.mp3Subtitles;
    MarkDefault(panReader->isVisibleTo(this) ? Yes1 : No1);
    Mp3Subtitles1->setChecked(FMp3Subtitles);
    if (!missingReader.isEmpty())
        ShowNotice(QStringLiteral("The reader \"%1\" is no longer installed; the default voice reads instead.")
                       .arg(missingReader));
}

void MainWindow::SaveSettings()
{
    ::SaveSettings(*FReading, windowSettings());
}

void MainWindow::ApplyAppearance()
{
    FWindowAppearance->ApplyAppearance();
    // The reader panel's buttons follow the toolbar's look.
    for (QWidget* button : {static_cast<QWidget*>(buReadingAreaClear), static_cast<QWidget*>(buFind)})
        button->setFont(cbarMain2->font());
    // Links stay readable on a dark reading area as on a light one.
    const bool dark = reText->palette().color(QPalette::Base).lightness() < 128;
    FLinkClicks->setLinkColour(dark ? QColor(120, 180, 255) : QColor(0, 0, 204));
    FReadingAidsView->setAids(FReadingAids);
}

void MainWindow::ListColourSchemes()
{
    FWindowAppearance->ListColourSchemes();
}

void MainWindow::ChooseColourScheme(QAction* item)
{
    FWindowAppearance->ChooseColourScheme(item);
}

void MainWindow::OpenCustomisation()
{
    ::OpenCustomisation(this, FAppearance, FReadingAids, [this] { ApplyAppearance(); });
}
