#pragma once

#include "window/settings/AppearanceSettings.h"
#include "window/readingarea/ReadingAids.h"
#include "speech/Translation.h"

#include <QDialog>
#include <QHash>
#include <QStringList>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class SpinEdit;

// Lets the user change the window's colours and font sizes on a working copy of the appearance record, try
// them on the window with Apply, and save them as a named colour scheme file. Beside them, the reading aids
// (typeface, spacing, line focus, syllables) are edited on a working copy of their own; they never go into a
// scheme file.
class CustomiseDialog : public QDialog
{
    Q_OBJECT
public:
    // `apply` receives the working copy when the user presses Apply.
    CustomiseDialog(const AppearanceSettings& current, std::function<void(const AppearanceSettings&)> apply,
                    QWidget* parent = nullptr);

    const AppearanceSettings& working() const { return mWorking; }
    // Shows the reading aids; `apply` receives their working copy when the user presses Apply.
    void setReadingAids(const ReadingAids& current, std::function<void(const ReadingAids&)> apply);
    const ReadingAids& workingAids() const { return mWorkingAids; }
    // Offers the learner's language among the languages given (none, the first choice, leaves it unset); `apply`
    // receives the mode chosen when the user presses Apply.
    void setMyLanguage(const QList<TranslationLanguage>& offered, const QString& current,
                       std::function<void(const QString&)> apply);
    // Offers the window's language: the desktop's (empty), English ("en") or one of `translated` (code and name);
    // `apply` receives the code chosen when the user presses Apply.
    void setWindowLanguage(const QList<QPair<QString, QString>>& translated, const QString& current,
                           std::function<void(const QString&)> apply);
    // The lines the next save writes (the "Name" line only after a first save).
    const QStringList& schemeLines() const { return mSchemeLines; }

    // Sample panels (background colours) and their labels (text colours); each carries the property "Tag",
    // the number of the record field it edits.
    QFrame* PanToolBarBC = nullptr;
    QLabel* labToolBarFC = nullptr;
    QPushButton* buFCToolbar = nullptr;
    QPushButton* buBCToolbar = nullptr;
    QFrame* panTextAreaBC = nullptr;
    QLabel* labTextAreaFC = nullptr;
    QPushButton* buFCTextArea = nullptr;
    QPushButton* buBCTextArea = nullptr;
    QFrame* panStatusBarFC = nullptr;
    QLabel* labStatusBarFc = nullptr;
    QPushButton* buFCStatusBar = nullptr;
    QPushButton* buBCStatusBar = nullptr;
    QFrame* panReadBC = nullptr;
    QLabel* labTextReader = nullptr;
    QPushButton* buBCReader = nullptr;
    QFrame* panLocationBC = nullptr; // hidden
    QLabel* labLocationFC = nullptr;
    QPushButton* buFCLocation = nullptr;
    QPushButton* buBCLocation = nullptr;
    SpinEdit* edFontSize = nullptr;
    SpinEdit* edTextFontSize = nullptr;
    QPushButton* buSaveScheme = nullptr;
    QPushButton* buApply = nullptr;
    QPushButton* buClose = nullptr;
    // Reading aids
    QGroupBox* grpReadingAids = nullptr;
    QComboBox* cboReadingFont = nullptr; // item 0 is the usual face
    QCheckBox* chkOverrideFonts = nullptr;
    QDoubleSpinBox* edLineSpacing = nullptr;
    QComboBox* cboLetterSpacing = nullptr;
    QComboBox* cboLineFocus = nullptr;
    QCheckBox* chkFocusWhenIdle = nullptr;
    QCheckBox* chkSyllables = nullptr;
    QComboBox* cboMyLanguage = nullptr;     // data: the mode translating into the language
    QComboBox* cboWindowLanguage = nullptr; // data: the language code, empty for the desktop's

    // Asks for a colour (starting from black) and, unless cancelled, shows it as the control's text colour or
    // background and stores it in the field the control's Tag names.
    void PickColour(QWidget* control, bool textColour);
    void ApplyCustomisation();
    // Asks for a name and writes the scheme file; a file that cannot be written is reported.
    void SaveScheme();

    void edFontSizeChange();
    void edTextFontSizeChange();
    void buApplyClick() { ApplyCustomisation(); }
    void buSaveSchemeClick() { SaveScheme(); }
    void buCloseClick() { reject(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void buildReadingAids();
    // Widens the right-hand column (reading aids, languages) to its longest caption, and the dialog with it.
    void fitRightColumn();
    void showReadingAids();
    void readingAidsChanged();
    QFrame* addSample(const QString& name, const QRect& geometry, int tag, const QString& hint);
    QLabel* addSampleLabel(QFrame* panel, const QString& name, const QString& caption, int tag, const QString& hint);
    QPushButton* addButton(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry,
                           const QString& hint);
    void showValues();
    // The value of a size field, or nothing (with the conversion error shown) when it is not a number.
    std::optional<qint32> sizeValue(const SpinEdit* field);

    AppearanceSettings mWorking;
    QStringList mSchemeLines;
    std::function<void(const AppearanceSettings&)> mApply;
    ReadingAids mWorkingAids;
    std::function<void(const ReadingAids&)> mApplyAids;
    bool mShowingAids = false;
    std::function<void(const QString&)> mApplyMyLanguage;
    std::function<void(const QString&)> mApplyWindowLanguage;
    int mLanguageRows = 0;
    QList<QLabel*> mLanguageLabels;
    // A captioned choice in the column under the reading aids, the dialog growing to hold it.
    QComboBox* addLanguageChoice(const QString& name, const QString& caption, const QString& accessibleName,
                                 const QString& hint);
    QHash<QWidget*, bool> mClickTargets; // sample panels and labels; true for a text colour
};

// Opens the customisation dialog on the window's appearance record and reading aids and waits until it is
// closed. Apply copies the working values into both and runs `applyAppearance`. `prepare` may add to the dialog
// before it shows.
void OpenCustomisation(QWidget* parent, AppearanceSettings& appearance, ReadingAids& aids,
                       const std::function<void()>& applyAppearance,
                       const std::function<void(CustomiseDialog&)>& prepare = {});
