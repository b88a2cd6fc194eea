#pragma once

#include "window/settings/AppearanceSettings.h"
#include "window/readingarea/ReadingAids.h"
#include "window/readingarea/DocumentLoader.h"
#include "core/TextSegmentation.h"
#include "speech/ReadingModel.h"
#include "speech/Translation.h"
#include "speech/Voice.h"
#include "core/ReadingMoves.h"
#include "speech/LanguageGuess.h"

#include <QDeadlineTimer>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <optional>

class QAction;
class QKeySequence;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QSplitter;
class QTimer;
class QTextEdit;
class ToolbarButton;
class ReaderFace;
class WebPanel;
class LinkClicks;
class ReadingAidsView;
class FindDialog;
class PageTextRequest;
struct PageText;
class AboutWindow;
class SpellingBuilderDialog;
class MenuDecorator;
class WritingAids;
class QTextCursor;
class ReadingPlaces;
class WindowAppearance;
class ReaderBar;
class FloatingReaderBar;
struct WindowSettings;
class TranslationPanel;

// The long part of a hint: the text after the first "|", or the whole hint.
QString LongHint(const QString& hint);
// A hint that names the key of its command: "Save text (Ctrl+S)".
QString HintWithKey(const QString& hint, const QKeySequence& key);

// The main window: the reading area, the toolbar, the reader panel with the face, the web panel, the
// status bar and the popup menus. Its handlers are thin; each forwards to one operation.
class MainWindow : public QWidget
{
    Q_OBJECT
public:
    explicit MainWindow(std::unique_ptr<SpeechEngine> engine, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs the window's creation steps (voices, settings, appearance). False when the speech engine could not
    // start: "Speech Engine not installed." has been shown and the program must end.
    bool FormCreate();

    // What the reader is set to and doing: voice, speed, volume, auto-read mode, reading state and the document.
    ReadingModel& model() const { return *mReading; }

    // --- State -------------------------------------------------------------------------------------------
    QList<QAction*> mReaderItems; // the readers menu's item of each voice, in the order of the model's voices
    bool mFromCursor = false;
    qint32 mCursorOffset = 0;
    bool mHighlight = false;
    qint32 mSpokenAt = 0;           // where the last spoken word or sentence starts in the reading area
    std::optional<int> mResumeFrom; // a move or a click while paused: where the reading goes on from
    bool mExiting = false;
    qint32 mCurrentViseme = 0;
    qint32 mSpellingDelay = 10;
    QStringList mSpellingWords;
    QString mSpellingFile;
    QStringList mDocumentBuffer;
    AppearanceSettings mAppearance;
    ReadingAids mReadingAids;            // how the reading area is drawn for learners; applied with the appearance
    TextMode mTextMode = TextMode::Rich; // plain after a save to a .txt file
    bool mMp3Subtitles = false;          // an MP3 export also writes LRC and SRT subtitles beside it
    bool mMatchLanguage = false;         // each paragraph is read by an installed voice of its language

    // --- Controls ----------------------------------------------------------------------------------------
    QLabel* statusBar = nullptr;
    QWidget* panReader = nullptr;
    ReaderFace* imgReader = nullptr;
    ToolbarButton* buReadingAreaClear = nullptr;
    ToolbarButton* buFind = nullptr;
    QWidget* panTextArea = nullptr;
    QWidget* panToolBarController = nullptr;
    QWidget* cbarMain2 = nullptr;
    ToolbarButton* buOpen = nullptr;
    ToolbarButton* buSAve = nullptr;
    ToolbarButton* buSpelling = nullptr;
    ToolbarButton* buMinimise = nullptr;
    ToolbarButton* buExit = nullptr;
    QWidget* Panel3 = nullptr;
    QTextEdit* reText = nullptr;
    QSplitter* sltWebSplitter = nullptr;
    WebPanel* Panel1 = nullptr;
    QLineEdit* edAddress = nullptr;        // hidden: carries the path of the document being loaded
    QListWidget* clbReadingList = nullptr; // hidden reading list

    Voice* spVoice = nullptr;

    // Reader menu (right click on the face)
    QMenu* pumReaderOnly = nullptr;
    QAction* pummiRead = nullptr;
    QAction* pummiPause = nullptr;
    QAction* pummiStop = nullptr;
    QAction* pummiReadFromCursor = nullptr;
    // Moving through a reading, while reading or paused (from the caret when idle)
    QAction* pummiPreviousSentence = nullptr;
    QAction* pummiNextSentence = nullptr;
    QAction* pummiSayAgain = nullptr;
    QAction* pummiPreviousParagraph = nullptr;
    QAction* pummiNextParagraph = nullptr;
    QAction* pummiReadFromHere = nullptr;
    QAction* pummiFloatingReaderBar = nullptr; // checkable: the reader bar in a window over other programs
    QAction* pummiShowReaderBar = nullptr;     // checkable, in the reading-area menu: the bar above the reading area
    QAction* pummiWatchClipboard = nullptr;    // checkable: text copied in any program is read at once
    QAction* pummiMatchLanguage = nullptr;     // checkable: each paragraph is read by a voice of its language
    QAction* pummiPronunciations = nullptr;
    QAction* pummiReadWebPage = nullptr; // also at the top of the web page's own right-click menu
    QAction* pummiReadFromScreen = nullptr;
    QMenu* miReadersList = nullptr;
    QMenu* miAutoRead = nullptr;
    QAction* mipumSingleWord = nullptr;
    QAction* mipumSentence = nullptr;
    QAction* mipumAutoReadOff = nullptr;
    QMenu* miReadSpeed = nullptr;
    QMenu* miReadVolume = nullptr;
    // Reading-area menu (right-button release in the reading area)
    QMenu* pumTextToRead = nullptr;
    QMenu* miColourSchemes = nullptr;
    QMenu* miShowHideReader = nullptr;
    QAction* Yes1 = nullptr;
    QAction* No1 = nullptr;
    QMenu* pupmiEdit = nullptr;
    QAction* mUndoAction = nullptr; // Ctrl+Z: Clear, a replaced text and typing alike are taken back a step at a time
    QAction* mRedoAction = nullptr; // Ctrl+Y and Ctrl+Shift+Z
    QAction* Cut2 = nullptr;
    QAction* Copy2 = nullptr;
    QAction* Paste2 = nullptr;
    QAction* Find2 = nullptr;
    QAction* Clear2 = nullptr;
    QAction* Beginning1 = nullptr;
    QAction* SelectAll1 = nullptr;
    QAction* Customise1 = nullptr;
    // Save menu (drop-down of Save)
    QMenu* pumSaveMenu = nullptr;
    QAction* Save1 = nullptr;
    QAction* SaveAs1 = nullptr;
    QAction* SaveAsMP31 = nullptr;
    QAction* SavetoMP3As1 = nullptr;
    QAction* Mp3Subtitles1 = nullptr; // checkable: shows and sets mMp3Subtitles
    // Ctrl+O: the Open button's command from the keyboard
    QAction* OpenKey = nullptr;
    // Open menu (drop-down of Open): the Open command, then the recent documents, the most recent first
    QMenu* pumOpenMenu = nullptr;
    QAction* Open1 = nullptr;
    // Spelling menu (drop-down of Spell)
    QMenu* pumSpellingMode = nullptr;
    QAction* SpellingAid1 = nullptr;
    QAction* SpellingTest1 = nullptr;
    QAction* Startspellingtest1 = nullptr;
    // Translation into the learner's language
    QMenu* miMyLanguage = nullptr;              // reader menu: the languages installed pairs translate English into
    QAction* miTranslateWhileReading = nullptr; // reader menu, checkable: shows the model's choice
    QAction* Translate1 = nullptr;              // reading-area menu and Ctrl+T
    TranslationPanel* panTranslation = nullptr;
    // Writing help (in the reader menu)
    QMenu* miWritingHelp = nullptr;
    QAction* SpellAsYouType1 = nullptr;  // checkable
    QAction* ConfusableWords1 = nullptr; // checkable
    QAction* CheckSpelling1 = nullptr;
    QAction* DefineWord1 = nullptr;
    QAction* WordPrediction1 = nullptr; // checkable

    // --- Operations --------------------------------------------------------------------------------------
    // Reading
    void StartReading(bool fromStart);
    void PauseReading();
    void StopReading();
    // Moves the reading to another sentence or paragraph. Reading, it reads on from there at once; paused, the
    // target is highlighted and the reading goes on from it when resumed; idle, it reads from the target of a move
    // from the caret. A move past the last sentence or paragraph does nothing.
    void MoveReading(ReadingMove move);
    // Reads from the word at the caret, or from the word clicked while paused.
    void ReadFromHere();
    // Reads the reading area from `position` to the end, cutting off whatever the voice was saying.
    void ReadFrom(int position);
    // Play/Pause of the reader bar: pauses a reading that is heard, else starts or resumes one.
    void PlayPause();
    // Reads a text given from outside the window (another program's selection, the clipboard, the desktop
    // service). The reading area's own text is never lost: replacing it is asked first, and refused, adding the
    // text at its end is offered. Returns false, with a message, when there is nothing to read or it was refused.
    bool ReadText(const QString& text);
    // Reads the text selected in any program (the X11 primary selection), else the clipboard's text.
    bool ReadSelection();
    bool ReadClipboard();
    // The text selected in any program, else the clipboard's; and the clipboard's text.
    QString SelectedText() const;
    QString ClipboardText() const;
    // The reader bar above the reading area, and the one floating over other programs.
    void ShowReaderBar(bool visible);
    void ShowFloatingReaderBar(bool visible);
    // Each paragraph read by an installed voice of its language (the chosen voice for its own language and when
    // none fits).
    void MatchVoiceToLanguage(bool on);
    // Text copied in another program is read at once while this is on (off at start).
    void WatchClipboard(bool on);
    ReaderBar* readerBar() const { return mReaderBar; }
    FloatingReaderBar* floatingReaderBar() const;
    void EnterReadingState();
    void EnterIdleState();
    void HighlightSpoken(int position, int length);
    void AutoReadKey(QChar key);
    // Voice
    // Chooses the voice of that description and says, in it, that the reader is ready; an unknown one does nothing.
    void SelectVoice(const QString& description);
    void SetReadingSpeed(int speed);
    void SetReadingVolume(int volume);
    void SpeakAndWait(const QString& text);
    // Documents
    void OpenDocument();
    // Opens `path` as the Open command opens a chosen file: a spelling test file becomes the current one; a
    // document asks before replacing text. Used for a file named at start, handed over by a later start or
    // dropped on the window.
    void OpenDocumentFile(const QString& path);
    void LoadDocument();
    // Opens a document of the recent list as the Open command would; one that is no longer there is taken off
    // the list with a message.
    void OpenRecentDocument(const QString& path);
    // Fills the Open menu with the recent documents.
    void ListRecentDocuments();
    void SaveText();
    void SaveTextAs();
    void SaveAsMp3(bool askFirst = true);
    void ExportToMp3(const QString& mp3Path);
    void FindInText();
    void ClearReadingArea();
    // Spelling
    void StartSpellingTest();
    void ShowSpellingBuilder();
    void ShowSpellingAssistant();
    // Translation
    // What the learner chose to translate into and whether sentences are translated while read.
    TranslationChoices& translation() const { return *mTranslation; }
    // Translates the sentence being read, else the selection, else the word at the caret into the learner's language,
    // shows it beside the text and says it in a voice of that language; a reading then goes on in English with the
    // next sentence. A failure is a message; the reading area stays as it was.
    void TranslateText();
    // Offers the languages of the installed pairs in the reader menu.
    void ListMyLanguages();
    // Writing help
    // Walks to the next misspelt word and says it with its sentence and suggestions.
    void CheckSpelling();
    // Shows what the word at the caret means and reads the first meaning; a word the dictionary lacks is said so.
    void DefineWord();
    void ShowDefinition(const QTextCursor& word);
    // Says a word or a hint of the writing aids, unless a reading is under way.
    void SpeakWritingHelp(const QString& text);
    WritingAids* writingAids() const { return mWritingAids; }
    // Appearance and settings
    void ApplyAppearance();
    void ListColourSchemes();
    void ChooseColourScheme(QAction* item);
    void OpenCustomisation();
    void LoadPronunciations();
    void EditPronunciations();
    void LoadSettings();
    // Writes the settings; a failure is reported (in the status bar, or in a message when `askedToExit`).
    // False when they could not be written.
    bool SaveSettings(bool askedToExit = false);
    // A setting has changed: the settings file follows as soon as the event loop is free.
    void SettingsChanged();
    // Keeps the user's work before the window ends, however it ends (Exit, logout, a signal to end): writes the
    // settings, the reading places and, when the reading area holds text never saved, the draft.
    void KeepWork(bool askedToExit = false);
    void ShowReader(bool visible);
    void RefreshWebPanel();
    // Reads the web panel's page aloud: its selection, else its article. Asynchronous: a page still loading is
    // read once it has loaded. A page with nothing to read gives a message and leaves the reading area alone.
    void ReadWebPage();
    // Reads aloud the text in a part of the screen the user drags a rectangle over.
    void ReadFromScreen();
    // Puts a page's text into the reading area (asking first when it holds text or a reading is under way) and
    // reads it from the start.
    void ReadPageText(const PageText& page);
    void DrawRestingFace();
    // Window
    void ExitReader();
    void ShowHintInStatusBar(const QString& hint);
    // Puts a change of state into the status bar, where a screen reader hears it ("Reading paused").
    void ShowStatusText(const QString& text);
    // A status text that hints do not replace for a while, so it is seen even with the pointer over a control.
    void ShowNotice(const QString& text);
    // The context-menu key or Shift+F10: the menu of the control that has the focus (the reading-area menu at
    // the caret, the reader menu at the face, a split button's drop-down). False when that control has none.
    bool PopupMenuForKeyboard(QWidget* focused);
    void PopupTextMenu(const QPoint& positionInReadingArea);
    // What draws the reading aids on the reading area.
    ReadingAidsView* readingAidsView() const { return mReadingAidsView; }
    // Where the reading-area menu opens for a pointer position within the reading area.
    QPoint TextMenuPosition(const QPoint& positionInReadingArea) const;

    // --- Handlers (named after control and event) --------------------------------------------------------
    void buOpenClick() { OpenDocument(); }
    void buSAveClick() { SaveText(); }
    void buSpellingClick() { StartSpellingTest(); }
    void buMinimiseClick();
    void buExitClick() { ExitReader(); }
    void buReadingAreaClearClick() { ClearReadingArea(); }
    void buFindClick() { FindInText(); }
    void imgReaderClick();
    void imgReaderDblClick();
    void pummiReadClick() { StartReading(true); }
    void pummiPauseClick() { PauseReading(); }
    void pummiStopClick() { StopReading(); }
    void pummiReadFromCursorClick() { StartReading(false); }
    void pummiReadWebPageClick() { ReadWebPage(); }
    void mipumSingleWordClick();
    void mipumSentenceClick();
    void mipumAutoReadOffClick();
    void spVoiceWord(const SpeechEvent& event);
    void spVoiceSentence(const SpeechEvent& event);
    void SpVoiceViseme(const SpeechEvent& event);
    void spVoiceEndStream(const SpeechEvent& event);
    void reTextKeyPress(QChar key);
    void ClickWhilePaused();
    void FormActivate();
    void clbReadingListDblClick(const QString& entry);
    void reTextLinkClick(const QString& link, Qt::MouseButton button);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void setupAppearance();
    void setupReadingAids();
    void buildMenus();
    void connectSurfaces();
    void setupWritingHelp();
    // Checks spelling in the chosen voice's language.
    void UseVoiceLanguage();
    // Marks the writing help switches that are on.
    void ShowWritingChoices();
    QAction* addItem(QMenu* menu, const QString& name, const QString& caption, const QString& hint);
    QMenu* addSubmenu(QMenu* menu, const QString& name, const QString& caption, const QString& hint);
    void describe(QWidget* control, const QString& name, const QString& caption, const QString& hint);
    // Gives a command its key: the window answers it wherever the focus is, and the hint names it.
    void bindKey(QAction* item, const QKeySequence& key, const QString& hint);
    void orderTabStops();
    void layoutToolbar();
    void layoutReaderPanel();
    void StartVoices();
    // Groups the readers menu's items to fit the screen the reader menu is on, the chosen voice's language first.
    void PlaceReaderItems();
    // Says in the chosen voice that the reader is ready, with the face disabled and a status window meanwhile.
    void AnnounceVoice();
    // Marks the voice, speed, volume and auto-read items that show what the model holds.
    void ShowReadingChoices();
    void FormDestroy();
    bool readingAreaBlank() const;
    // Typed text never saved (or edits of a document not saved) is in the reading area.
    bool readingAreaHoldsWork() const;
    // Text from outside the window (another program, a web page, the screen) into the reading area: replaces
    // its text, or is added at its end, as one step Undo takes back. When the reading area holds work the user
    // is asked, with the text that arrived shown. Where the reading of the new text starts, or nothing when the
    // user cancelled.
    std::optional<int> PutGivenText(const QString& text);
    void setupKeepingWork();
    // The draft beside the settings: written a few seconds after typing stops and whenever the work is kept,
    // removed when the reading area holds no work; put back at the next start.
    void SaveDraft();
    void RestoreDraft();
    // Notes where reading stands in the open document, before it is replaced or closed.
    void RememberReadingPlace();
    // Writes the reading places; a background duty that swallows failures.
    void SaveReadingPlaces();
    WindowSettings windowSettings() const;
    void setupTranslation();
    // Says the translation in a voice of its language and returns when it has been said; the reading voice is
    // chosen again after it. False when no installed voice speaks the language.
    bool SpeakTranslation(const QString& text, const QString& languageCode);
    // Follows the reading: with translation while reading on, each sentence reached is translated beside the text.
    void TranslateSentenceReached(int position);

    ReadingModel* mReading = nullptr;
    QPointer<FindDialog> mFindDialog;
    QPointer<PageTextRequest> mPageTextRequest; // the "Read web page" under way
    QPointer<SpellingBuilderDialog> mSpellingBuilder;
    std::unique_ptr<MenuDecorator> XPMenu1;
    std::unique_ptr<WindowAppearance> mWindowAppearance;
    LinkClicks* mLinkClicks = nullptr;
    ReadingAidsView* mReadingAidsView = nullptr;
    WritingAids* mWritingAids = nullptr;
    QString mOpenDialogFileName; // the name the open dialog offers next
    QString mCurrentDocument;    // the document in the reading area; empty after Clear or for typed text
    std::unique_ptr<ReadingPlaces> mReadingPlaces;
    bool mActivating = false;
    // A click on the inactive window gave one of its controls the focus: the activation it brings leaves it there.
    bool mClickFocused = false;
    QDeadlineTimer mNoticeShown{0}; // hints wait until it has passed
    TranslationChoices* mTranslation = nullptr;
    std::unique_ptr<Translator> mTranslator;
    BackgroundTranslation* mSentenceTranslation = nullptr;
    int mWordReadAt = -1;           // the reading-area position of the word last read, -1 outside a reading
    int mSentenceShown = -1;        // the start of the sentence whose translation is asked for or shown while reading
    bool mTranslating = false;      // a translation is being made or said
    QString mReadText;              // the text being read, taken at its first word
    QList<TextSpan> mReadSentences; // its sentences
    ReaderBar* mReaderBar = nullptr;
    QPointer<FloatingReaderBar> mFloatingBar;
    QPoint mFloatingBarPlace{-1, -1}; // where the floating bar was put; (-1, -1) before it ever was
    void connectReaderBar(ReaderBar* bar);
    // A stretch of paragraphs of one language, and the voice that reads it.
    struct LanguageRun
    {
        int start = 0;
        int end = 0;
        VoiceToken voice;
    };
    QList<LanguageRun> languageRuns(const QString& text, int from);
    // Speaks the next stretch of a reading that matches voices to languages.
    void speakNextRun();
    // Gives the voice back the reader's own choice after a reading in other voices.
    void restoreChosenVoice();
    QList<LanguageRun> mRuns; // what is left to read of such a reading
    std::unique_ptr<LanguageGuess> mLanguageGuess;
    bool mVoiceSwitched = false;
    void applyReaderBarLook();
    QTimer* mDraftTimer = nullptr;
    QTimer* mSettingsTimer = nullptr;
};
