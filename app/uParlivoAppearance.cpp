// Colours, font sizes, colour schemes and the settings file of the main window.
#include "app/TToolbarButton.h"
#include "app/uParlivo.h"
#include "dialogs/MenuMarker.h"
#include "settings/MenuDecorator.h"
#include "settings/ReadingAidsView.h"
#include "settings/SettingsFile.h"
#include "settings/WindowAppearance.h"
#include "settings/uCustomise.h"
#include "web/TLinkClicks.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTextEdit>

void TfrmReader::setupAppearance()
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

void TfrmReader::setupReadingAids()
{
    // The reading aids draw through the reading area's one highlighter, under its links.
    TLinkHighlighter* highlighter = FLinkClicks->highlighter();
    FReadingAidsView = new ReadingAidsView(reText, [highlighter] { highlighter->reformat(); });
    highlighter->setDecoration(
        [view = FReadingAidsView](const QTextBlock& block, QList<QTextLayout::FormatRange>& ranges) {
            view->decorate(block, ranges);
        });
}

ReaderChoices TfrmReader::readerChoices()
{
    return ReaderChoices{miReadersList, miReadSpeed,   miReadVolume,   mipumSingleWord, mipumSentence, mipumAutoReadOff,
                         panReader,     FAutoReadMode, FSpellingDelay, FAppearance,     XPMenu1.get(), &FReadingAids};
}

void TfrmReader::LoadSettings()
{
    QString missingReader;
    ReaderChoices choices = readerChoices();
    choices.missingReader = &missingReader;
    ::LoadSettings(choices);
    MarkDefault(panReader->isVisibleTo(this) ? Yes1 : No1);
    if (!missingReader.isEmpty())
        ShowNotice(QStringLiteral("The reader \"%1\" is no longer installed; the default voice reads instead.")
                       .arg(missingReader));
}

void TfrmReader::SaveSettings()
{
    ::SaveSettings(readerChoices());
}

void TfrmReader::ApplyAppearance()
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

void TfrmReader::ListColourSchemes()
{
    FWindowAppearance->ListColourSchemes();
}

void TfrmReader::ChooseColourScheme(QAction* item)
{
    FWindowAppearance->ChooseColourScheme(item);
}

void TfrmReader::OpenCustomisation()
{
    ::OpenCustomisation(this, FAppearance, FReadingAids, [this] { ApplyAppearance(); });
}
