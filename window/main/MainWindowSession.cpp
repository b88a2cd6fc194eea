// Keeping the user's work: typed text never saved is kept as a draft and put back at the next start, settings are
// written as they change, and everything is written when the window ends, whether by Exit, a logout or a signal.
#include "window/main/MainWindow.h"
#include "core/AtomicFile.h"
#include "core/AppFolder.h"
#include "core/Errors.h"
#include "core/ProfileStrings.h"
#include "core/TextRoutines.h"
#include "formats/RtfReader.h"
#include "formats/RtfWriter.h"
#include "speech/Translation.h"
#include "window/main/ReaderBar.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

namespace {
// Beside the settings; rich text, so a word processor opens it should the program never start again.
const QString DraftFileName = QStringLiteral("Parlivo draft.rtf");
// How long after the last key the draft is written: often enough that a crash loses a few words at most.
constexpr int DraftDelayMs = 3000;
} // namespace

void MainWindow::setupKeepingWork()
{
    mDraftTimer = new QTimer(this);
    mDraftTimer->setSingleShot(true);
    mDraftTimer->setInterval(DraftDelayMs);
    connect(mDraftTimer, &QTimer::timeout, this, &MainWindow::SaveDraft);
    connect(reText->document(), &QTextDocument::contentsChanged, mDraftTimer, qOverload<>(&QTimer::start));

    // Settings follow each change as soon as the event loop is free, so several changes at once make one save.
    mSettingsTimer = new QTimer(this);
    mSettingsTimer->setSingleShot(true);
    mSettingsTimer->setInterval(0);
    connect(mSettingsTimer, &QTimer::timeout, this, [this] { SaveSettings(); });
    connect(mReading, &ReadingModel::voiceChanged, this, &MainWindow::SettingsChanged);
    connect(mReading, &ReadingModel::speedChanged, this, &MainWindow::SettingsChanged);
    connect(mReading, &ReadingModel::volumeChanged, this, &MainWindow::SettingsChanged);
    connect(mReading, &ReadingModel::autoReadModeChanged, this, &MainWindow::SettingsChanged);
    connect(mTranslation, &TranslationChoices::languageChanged, this, &MainWindow::SettingsChanged);
    connect(mTranslation, &TranslationChoices::whileReadingChanged, this, &MainWindow::SettingsChanged);
    // The menus' switches (the reader, the reader bars, subtitles, writing help, reading aids) change settings;
    // a menu tells of a choice in any of its submenus.
    for (QMenu* menu : {pumReaderOnly, pumTextToRead, pumSaveMenu})
        connect(menu, &QMenu::triggered, this, &MainWindow::SettingsChanged);
}

void MainWindow::SettingsChanged()
{
    if (mSettingsTimer && !mSettingsTimer->isActive())
        mSettingsTimer->start();
}

void MainWindow::KeepWork(bool askedToExit)
{
    if (mFloatingBar)
        mFloatingBarPlace = mFloatingBar->pos();
    SaveSettings(askedToExit);
    RememberReadingPlace();
    SaveReadingPlaces();
    SaveDraft();
}

bool MainWindow::readingAreaHoldsWork() const
{
    return reText->document()->isModified() && !readingAreaBlank();
}

void MainWindow::SaveDraft()
{
    if (mDraftTimer)
        mDraftTimer->stop();
    const QString path = appPath(DraftFileName);
    try {
        if (readingAreaHoldsWork())
            SaveFileAtomically(path, writeRtf(reText->document()));
        else if (QFileInfo::exists(path) && !QFile::remove(path))
            throw FileError(QStringLiteral("Cannot remove file %1").arg(path));
    } catch (const std::exception& failure) {
        ShowNotice(
            tr("Your typed text could not be kept for the next start. %1").arg(QString::fromUtf8(failure.what())));
    }
}

void MainWindow::RestoreDraft()
{
    QFile file(appPath(DraftFileName));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    QTextDocument* document = reText->document();
    if (!isRtf(bytes) || !document->isEmpty())
        return;
    readRtf(bytes, document);
    if (TrimControl(document->toPlainText()).isEmpty()) {
        document->clear();
        return;
    }
    // Still unsaved: kept as a draft again until it is saved or cleared.
    document->setModified(true);
    reText->moveCursor(QTextCursor::End);
    ShowNotice(tr("The text you typed last time was never saved, so it has been put back. Save it to keep it, "
                  "or Clear it."));
}
