#include "window/settings/CustomiseDialog.h"

#include "core/Errors.h"
#include "core/ProfileStrings.h"
#include "core/Prompts.h"
#include "window/settings/ColourSchemes.h"
#include "window/settings/SpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

namespace {
constexpr int MaxFontSize = 22;
constexpr int MinFontSize = 8;
constexpr char TagProperty[] = "Tag";

constexpr int AidsLeft = 365; // the reading aids take a column right of the colour samples
const std::initializer_list<std::pair<const char*, int>> LetterSpacings = {
    {QT_TRANSLATE_NOOP("CustomiseDialog", "Normal"), 100},
    {QT_TRANSLATE_NOOP("CustomiseDialog", "Slightly wide"), 110},
    {QT_TRANSLATE_NOOP("CustomiseDialog", "Wide"), 120},
    {QT_TRANSLATE_NOOP("CustomiseDialog", "Wider"), 135},
    {QT_TRANSLATE_NOOP("CustomiseDialog", "Widest"), 150}};
const std::initializer_list<std::pair<const char*, int>> FocusChoices = {
    {QT_TRANSLATE_NOOP("CustomiseDialog", "Off"), 0},
    {QT_TRANSLATE_NOOP("CustomiseDialog", "1 line"), 1},
    {QT_TRANSLATE_NOOP("CustomiseDialog", "3 lines"), 3},
    {QT_TRANSLATE_NOOP("CustomiseDialog", "5 lines"), 5}};

const char* const SaveError =
    QT_TRANSLATE_NOOP("CustomiseDialog", "There was a problem, unable to save customisation file.");

QString fieldKey(int field)
{
    return QString::fromLatin1(AppearanceSettings::keys()[field - 1]);
}

void setTextColour(QWidget* control, const QColor& colour)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, colour);
    control->setPalette(palette);
}

void setBackgroundColour(QWidget* control, const QColor& colour)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::Window, colour);
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}

QFrame* rule(QWidget* parent, QFrame::Shape shape, const QRect& geometry)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(geometry);
    return line;
}
} // namespace

CustomiseDialog::CustomiseDialog(const AppearanceSettings& current,
                                 std::function<void(const AppearanceSettings&)> apply, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), mWorking(current),
      mApply(std::move(apply))
{
    buildLayout();
    mSchemeLines = SchemeLines(mWorking);
    showValues();
}

void CustomiseDialog::buildLayout()
{
    setObjectName(QStringLiteral("frmCustomise"));
    setWindowTitle(tr("Customisation"));
    setFixedSize(AidsLeft + 258, 430);
    QFont dialogFont(QStringLiteral("Verdana"));
    dialogFont.setPixelSize(11);
    setFont(dialogFont);

    PanToolBarBC =
        addSample(QStringLiteral("PanToolBarBC"), {8, 8, 345, 69}, 2, tr("Click to set toolbar background colour"));
    labToolBarFC = addSampleLabel(PanToolBarBC, QStringLiteral("labToolBarFC"), tr("Toolbar"), 1,
                                  tr("Click to set Toolbar font colour"));
    buFCToolbar = addButton(PanToolBarBC, QStringLiteral("buFCToolbar"), tr("Font Colour"), {6, 6, 118, 27},
                            tr("Click to set toolbar font colour"));
    buBCToolbar = addButton(PanToolBarBC, QStringLiteral("buBCToolbar"), tr("Background Colour"), {6, 36, 118, 27},
                            tr("Click to set toolbar background colour"));

    panTextAreaBC =
        addSample(QStringLiteral("panTextAreaBC"), {8, 80, 345, 73}, 6, tr("Click to set Text Area background colour"));
    labTextAreaFC = addSampleLabel(panTextAreaBC, QStringLiteral("labTextAreaFC"), tr("Text Area"), 5,
                                   tr("click to set Text Area font colour"));
    buFCTextArea = addButton(panTextAreaBC, QStringLiteral("buFCTextArea"), tr("Font Colour"), {6, 7, 118, 28},
                             tr("Click to set Text Area font colour"));
    buBCTextArea = addButton(panTextAreaBC, QStringLiteral("buBCTextArea"), tr("Background Colour"), {6, 38, 118, 28},
                             tr("Click to set Text Area background colour"));

    panStatusBarFC = addSample(QStringLiteral("panStatusBarFC"), {8, 160, 345, 73}, 10,
                               tr("Click to set Status Bar background colour"));
    labStatusBarFc = addSampleLabel(panStatusBarFC, QStringLiteral("labStatusBarFc"), tr("Status Bar"), 9,
                                    tr("Click to set Status Bar font colour"));
    buFCStatusBar = addButton(panStatusBarFC, QStringLiteral("buFCStatusBar"), tr("Font Colour"), {6, 7, 118, 28},
                              tr("Click to set Status Bar font colour"));
    buBCStatusBar = addButton(panStatusBarFC, QStringLiteral("buBCStatusBar"), tr("Background Colour"),
                              {6, 38, 118, 28}, tr("Click to set Status Bar background colour"));

    panReadBC =
        addSample(QStringLiteral("panReadBC"), {8, 239, 345, 66}, 14, tr("Click to set Reader background colour"));
    labTextReader = addSampleLabel(panReadBC, QStringLiteral("labTextReader"), tr("Text Reader"), 0, {});
    labTextReader->setEnabled(false);
    // Clicks on the caption reach the panel under it.
    labTextReader->setAttribute(Qt::WA_TransparentForMouseEvents);
    mClickTargets.remove(labTextReader);
    buBCReader = addButton(panReadBC, QStringLiteral("buBCReader"), tr("Background Colour"), {6, 6, 118, 54},
                           tr("Click to set Reader background colour"));

    // The location colours have no visible sample; the panel stays outside the client area.
    panLocationBC = addSample(QStringLiteral("panLocationBC"), {8, 440, 345, 60}, 4, {});
    labLocationFC = addSampleLabel(panLocationBC, QStringLiteral("labLocationFC"), tr("Location"), 3, {});
    buFCLocation = addButton(panLocationBC, QStringLiteral("buFCLocation"), tr("FC"), {6, 4, 40, 25}, {});
    buBCLocation = addButton(panLocationBC, QStringLiteral("buBCLocation"), tr("BC"), {6, 31, 40, 25}, {});
    for (QPushButton* hidden : {buFCLocation, buBCLocation}) {
        hidden->setEnabled(false);
        hidden->hide();
    }
    panLocationBC->hide();

    // Each size's caption stays over its own field, on two lines when a language needs them.
    auto* labFontSize = new QLabel(tr("Application font size"), this);
    labFontSize->setGeometry(8, 308, 170, 34);
    labFontSize->setWordWrap(true);
    labFontSize->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    edFontSize = new SpinEdit(MinFontSize, MaxFontSize, this);
    edFontSize->setObjectName(QStringLiteral("edFontSize"));
    edFontSize->setGeometry(8, 344, 105, 24);
    edFontSize->setToolTip(tr("Click to set application font size"));
    // A screen reader names each size field by the caption above it.
    edFontSize->editor()->setAccessibleName(labFontSize->text());
    auto* labTextFontSize = new QLabel(tr("Reading Text font size"), this);
    labTextFontSize->setGeometry(183, 308, 170, 34);
    labTextFontSize->setWordWrap(true);
    labTextFontSize->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    edTextFontSize = new SpinEdit(MinFontSize, MaxFontSize, this);
    edTextFontSize->setObjectName(QStringLiteral("edTextFontSize"));
    edTextFontSize->setGeometry(248, 344, 105, 24);
    edTextFontSize->setToolTip(tr("Click to set Reading Text font colour"));
    edTextFontSize->editor()->setAccessibleName(labTextFontSize->text());

    rule(this, QFrame::HLine, {8, 383, 345, 3});
    buSaveScheme = addButton(this, QStringLiteral("buSaveScheme"), tr("&Save"), {8, 400, 65, 25},
                             tr("Click to save customisation to file"));
    buApply = addButton(this, QStringLiteral("buApply"), tr("&Apply"), {76, 400, 65, 25},
                        tr("Click to apply current settings"));
    buClose = addButton(this, QStringLiteral("buClose"), tr("&Close"), {288, 400, 65, 25},
                        tr("Click to close Customisation form"));
    for (QPushButton* button : {buSaveScheme, buApply, buClose})
        button->setAutoDefault(false);

    const std::initializer_list<std::tuple<QPushButton*, QWidget*, bool>> colourButtons = {
        {buFCToolbar, labToolBarFC, true},     {buBCToolbar, PanToolBarBC, false},
        {buFCTextArea, labTextAreaFC, true},   {buBCTextArea, panTextAreaBC, false},
        {buFCStatusBar, labStatusBarFc, true}, {buBCStatusBar, panStatusBarFC, false},
        {buBCReader, panReadBC, false},        {buFCLocation, labLocationFC, true},
        {buBCLocation, panLocationBC, false}};
    for (const auto& [button, target, textColour] : colourButtons)
        connect(button, &QPushButton::clicked, this, [this, target, textColour] { PickColour(target, textColour); });
    connect(edFontSize, &SpinEdit::changed, this, &CustomiseDialog::edFontSizeChange);
    connect(edTextFontSize, &SpinEdit::changed, this, &CustomiseDialog::edTextFontSizeChange);
    connect(buApply, &QPushButton::clicked, this, &CustomiseDialog::buApplyClick);
    connect(buSaveScheme, &QPushButton::clicked, this, &CustomiseDialog::buSaveSchemeClick);
    connect(buClose, &QPushButton::clicked, this, &CustomiseDialog::buCloseClick);
    buildReadingAids();
}

void CustomiseDialog::buildReadingAids()
{
    grpReadingAids = new QGroupBox(tr("Reading aids"), this);
    grpReadingAids->setObjectName(QStringLiteral("grpReadingAids"));
    grpReadingAids->setGeometry(AidsLeft, 4, 250, 372);
    auto* form = new QFormLayout(grpReadingAids);
    form->setRowWrapPolicy(QFormLayout::WrapAllRows);
    form->setVerticalSpacing(4);

    const auto describe = [](QWidget* control, const char* name, const QString& accessible, const QString& hint) {
        control->setObjectName(QString::fromLatin1(name));
        control->setAccessibleName(accessible);
        control->setToolTip(hint);
    };
    cboReadingFont = new QComboBox(grpReadingAids);
    describe(cboReadingFont, "cboReadingFont", tr("Reading text typeface"),
             tr("Click to choose the typeface of the reading text"));
    cboReadingFont->addItem(tr("Standard"), QString());
    for (const QString& family : ReadingFontFamilies())
        cboReadingFont->addItem(family, family);
    form->addRow(tr("Reading &typeface"), cboReadingFont);
    chkOverrideFonts = new QCheckBox(tr("Also &replace the fonts of documents"), grpReadingAids);
    describe(chkOverrideFonts, "chkOverrideFonts", tr("Also replace the fonts of documents"),
             tr("Rich-text documents keep their own fonts unless this is ticked"));
    form->addRow(chkOverrideFonts);

    edLineSpacing = new QDoubleSpinBox(grpReadingAids);
    describe(edLineSpacing, "edLineSpacing", tr("Line spacing"),
             tr("Click to set the space between the lines of the reading text"));
    edLineSpacing->setRange(ReadingAids::MinLineSpacing / 100.0, ReadingAids::MaxLineSpacing / 100.0);
    edLineSpacing->setSingleStep(0.1);
    edLineSpacing->setDecimals(1);
    form->addRow(tr("&Line spacing"), edLineSpacing);

    cboLetterSpacing = new QComboBox(grpReadingAids);
    describe(cboLetterSpacing, "cboLetterSpacing", tr("Letter spacing"),
             tr("Click to set the space between the letters of the reading text"));
    for (const auto& [caption, percent] : LetterSpacings)
        cboLetterSpacing->addItem(tr(caption), percent);
    form->addRow(tr("L&etter spacing"), cboLetterSpacing);

    cboLineFocus = new QComboBox(grpReadingAids);
    describe(cboLineFocus, "cboLineFocus", tr("Line focus"),
             tr("Dims the reading area except the lines around the spoken word"));
    for (const auto& [caption, lines] : FocusChoices)
        cboLineFocus->addItem(tr(caption), lines);
    form->addRow(tr("Line &focus"), cboLineFocus);
    chkFocusWhenIdle = new QCheckBox(tr("Focus on the caret &when not reading"), grpReadingAids);
    describe(chkFocusWhenIdle, "chkFocusWhenIdle", tr("Focus on the caret when not reading"),
             tr("Keeps the line focus on the caret while nothing is being read"));
    form->addRow(chkFocusWhenIdle);

    chkSyllables = new QCheckBox(tr("Show s&yllables"), grpReadingAids);
    describe(chkSyllables, "chkSyllables", tr("Show syllables"),
             tr("Shows a dot between the syllables of each word; the text itself stays as it is"));
    form->addRow(chkSyllables);

    showReadingAids();
    connect(cboReadingFont, &QComboBox::currentIndexChanged, this, &CustomiseDialog::readingAidsChanged);
    connect(cboLetterSpacing, &QComboBox::currentIndexChanged, this, &CustomiseDialog::readingAidsChanged);
    connect(cboLineFocus, &QComboBox::currentIndexChanged, this, &CustomiseDialog::readingAidsChanged);
    connect(edLineSpacing, &QDoubleSpinBox::valueChanged, this, &CustomiseDialog::readingAidsChanged);
    for (QCheckBox* box : {chkOverrideFonts, chkFocusWhenIdle, chkSyllables})
        connect(box, &QCheckBox::toggled, this, &CustomiseDialog::readingAidsChanged);
    fitRightColumn();
}

void CustomiseDialog::fitRightColumn()
{
    int column = qMax(250, grpReadingAids->minimumSizeHint().width());
    for (const QLabel* label : std::as_const(mLanguageLabels))
        column = qMax(column, label->sizeHint().width());
    grpReadingAids->resize(column, grpReadingAids->height());
    for (QLabel* label : std::as_const(mLanguageLabels)) {
        label->resize(column, label->height());
        label->buddy()->resize(column, label->buddy()->height());
    }
    setFixedSize(AidsLeft + column + 8, height());
}

void CustomiseDialog::setReadingAids(const ReadingAids& current, std::function<void(const ReadingAids&)> apply)
{
    mWorkingAids = current.normalised();
    mApplyAids = std::move(apply);
    showReadingAids();
}

void CustomiseDialog::showReadingAids()
{
    mShowingAids = true;
    int font = cboReadingFont->findData(mWorkingAids.FontFamily);
    if (font < 0) {
        // A face that is no longer installed stays chosen until the user picks another.
        cboReadingFont->addItem(mWorkingAids.FontFamily, mWorkingAids.FontFamily);
        font = cboReadingFont->count() - 1;
    }
    cboReadingFont->setCurrentIndex(font);
    chkOverrideFonts->setChecked(mWorkingAids.OverrideDocumentFonts);
    edLineSpacing->setValue(mWorkingAids.LineSpacing / 100.0);
    int letters = 0;
    for (int i = 0; i < cboLetterSpacing->count(); ++i)
        if (cboLetterSpacing->itemData(i).toInt() <= mWorkingAids.LetterSpacing)
            letters = i;
    cboLetterSpacing->setCurrentIndex(letters);
    cboLineFocus->setCurrentIndex(qMax(0, cboLineFocus->findData(mWorkingAids.FocusLines)));
    chkFocusWhenIdle->setChecked(mWorkingAids.FocusWhenIdle);
    chkSyllables->setChecked(mWorkingAids.Syllables);
    mShowingAids = false;
}

void CustomiseDialog::readingAidsChanged()
{
    if (mShowingAids)
        return;
    mWorkingAids.FontFamily = cboReadingFont->currentData().toString();
    mWorkingAids.OverrideDocumentFonts = chkOverrideFonts->isChecked();
    mWorkingAids.LineSpacing = qRound(edLineSpacing->value() * 100);
    mWorkingAids.LetterSpacing = cboLetterSpacing->currentData().toInt();
    mWorkingAids.FocusLines = cboLineFocus->currentData().toInt();
    mWorkingAids.FocusWhenIdle = chkFocusWhenIdle->isChecked();
    mWorkingAids.Syllables = chkSyllables->isChecked();
}

QFrame* CustomiseDialog::addSample(const QString& name, const QRect& geometry, int tag, const QString& hint)
{
    auto* panel = new QFrame(this);
    panel->setObjectName(name);
    panel->setGeometry(geometry);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setProperty(TagProperty, tag);
    panel->setToolTip(hint);
    QFont sampleFont(QStringLiteral("MS Sans Serif"));
    sampleFont.setPixelSize(16);
    panel->setFont(sampleFont);
    panel->installEventFilter(this);
    mClickTargets.insert(panel, false);
    rule(panel, QFrame::VLine, {128, 4, 3, geometry.height() - 8});
    return panel;
}

QLabel* CustomiseDialog::addSampleLabel(QFrame* panel, const QString& name, const QString& caption, int tag,
                                        const QString& hint)
{
    auto* label = new QLabel(caption, panel);
    label->setObjectName(name);
    label->setGeometry(136, 4, panel->width() - 142, panel->height() - 8);
    label->setAlignment(Qt::AlignCenter);
    label->setProperty(TagProperty, tag);
    label->setToolTip(hint);
    label->installEventFilter(this);
    mClickTargets.insert(label, true);
    return label;
}

QPushButton* CustomiseDialog::addButton(QWidget* parent, const QString& name, const QString& caption,
                                        const QRect& geometry, const QString& hint)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setToolTip(hint);
    // The buttons keep the dialog's font, not the larger one of the samples they sit on.
    button->setFont(font());
    return button;
}

void CustomiseDialog::showValues()
{
    setTextColour(labToolBarFC, colourFromValue(mWorking.ToolbarFColour));
    setBackgroundColour(PanToolBarBC, colourFromValue(mWorking.ToolbarBColour));
    setTextColour(labLocationFC, colourFromValue(mWorking.LocationFColour));
    setBackgroundColour(panLocationBC, colourFromValue(mWorking.LocationBColour));
    setTextColour(labTextAreaFC, colourFromValue(mWorking.TextAreaFColour));
    setBackgroundColour(panTextAreaBC, colourFromValue(mWorking.TextAreaBColour));
    setTextColour(labStatusBarFc, colourFromValue(mWorking.StatusBarFColour));
    setBackgroundColour(panStatusBarFC, colourFromValue(mWorking.StatusBarBColour));
    setBackgroundColour(panReadBC, colourFromValue(mWorking.ReaderBColour));
    edFontSize->setText(QString::number(mWorking.AppFontSize));
    edTextFontSize->setText(QString::number(mWorking.TextFontSize));
}

bool CustomiseDialog::eventFilter(QObject* watched, QEvent* event)
{
    auto* control = qobject_cast<QWidget*>(watched);
    const auto target = mClickTargets.constFind(control);
    if (target != mClickTargets.cend() &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        // A label's click stays with the label; its panel must not pick a colour as well.
        if (event->type() == QEvent::MouseButtonRelease && control->rect().contains(mouse->position().toPoint()))
            PickColour(control, target.value());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CustomiseDialog::PickColour(QWidget* control, bool textColour)
{
    const std::optional<QColor> chosen = prompts().pickColour(Qt::black);
    if (!chosen)
        return;
    if (textColour)
        setTextColour(control, *chosen);
    else
        setBackgroundColour(control, *chosen);

    const int tag = control->property(TagProperty).toInt();
    if (tag < 1 || tag > 14)
        return;
    const qint32 value = valueFromColour(*chosen);
    mWorking.field(tag) = value;
    // The settings-only and separator colours have no place in a scheme file.
    if (tag != 7 && tag != 8 && tag != 11 && tag != 12)
        SetKeyLine(mSchemeLines, fieldKey(tag), QString::number(value));
}

std::optional<qint32> CustomiseDialog::sizeValue(const SpinEdit* field)
{
    const QString text = field->text();
    const std::optional<qint32> value = ParseProfileInteger(text.trimmed());
    if (!value)
        prompts().message(ConversionError(text).message(), MessageKind::Error);
    return value;
}

void CustomiseDialog::edFontSizeChange()
{
    if (edFontSize->text().trimmed().isEmpty())
        return;
    std::optional<qint32> value = sizeValue(edFontSize);
    if (value && *value > MaxFontSize) {
        edFontSize->setText(QString::number(MaxFontSize)); // runs this handler again
        value = sizeValue(edFontSize);
    }
    if (value)
        mWorking.AppFontSize = *value;
}

void CustomiseDialog::edTextFontSizeChange()
{
    if (edTextFontSize->text().trimmed().isEmpty())
        return;
    if (const std::optional<qint32> value = sizeValue(edTextFontSize))
        mWorking.TextFontSize = *value;
}

QComboBox* CustomiseDialog::addLanguageChoice(const QString& name, const QString& caption,
                                              const QString& accessibleName, const QString& hint)
{
    const int top = 380 + 48 * mLanguageRows++; // under the reading aids, the first beside the buttons
    auto* label = new QLabel(caption, this);
    label->setGeometry(AidsLeft, top, 250, 16);
    auto* choice = new QComboBox(this);
    choice->setObjectName(name);
    choice->setAccessibleName(accessibleName);
    choice->setToolTip(hint);
    choice->setGeometry(AidsLeft, top + 18, 250, 25);
    label->setBuddy(choice);
    label->show();
    choice->show();
    mLanguageLabels.append(label);
    setFixedSize(width(), qMax(height(), top + 50));
    fitRightColumn();
    return choice;
}

void CustomiseDialog::setMyLanguage(const QList<TranslationLanguage>& offered, const QString& current,
                                    std::function<void(const QString&)> apply)
{
    if (!cboMyLanguage)
        cboMyLanguage = addLanguageChoice(QStringLiteral("cboMyLanguage"), tr("My &language (translations)"),
                                          tr("My language"), tr("The language Translate puts English into"));
    cboMyLanguage->clear();
    cboMyLanguage->addItem(tr("None"), QString());
    for (const TranslationLanguage& language : offered)
        cboMyLanguage->addItem(language.name, language.mode);
    if (cboMyLanguage->findData(current) < 0)
        cboMyLanguage->addItem(current, current); // a pair no longer installed stays chosen until another is
    cboMyLanguage->setCurrentIndex(cboMyLanguage->findData(current));
    mApplyMyLanguage = std::move(apply);
}

void CustomiseDialog::setWindowLanguage(const QList<QPair<QString, QString>>& translated, const QString& current,
                                        std::function<void(const QString&)> apply)
{
    if (!cboWindowLanguage)
        cboWindowLanguage =
            addLanguageChoice(QStringLiteral("cboWindowLanguage"), tr("&Window language (from the next start)"),
                              tr("Window language"), tr("The language of the window's captions and messages"));
    cboWindowLanguage->clear();
    cboWindowLanguage->addItem(tr("The desktop's language"), QString());
    cboWindowLanguage->addItem(QStringLiteral("English"), QStringLiteral("en"));
    for (const auto& [code, name] : translated)
        cboWindowLanguage->addItem(name, code);
    cboWindowLanguage->setCurrentIndex(qMax(0, cboWindowLanguage->findData(current)));
    mApplyWindowLanguage = std::move(apply);
}

void CustomiseDialog::ApplyCustomisation()
{
    if (mApplyMyLanguage)
        mApplyMyLanguage(cboMyLanguage->currentData().toString());
    if (mApplyWindowLanguage)
        mApplyWindowLanguage(cboWindowLanguage->currentData().toString());
    if (mApplyAids)
        mApplyAids(mWorkingAids);
    if (mApply)
        mApply(mWorking);
}

void CustomiseDialog::SaveScheme()
{
    const QString name = prompts().promptLine(tr("Save Customisation"), tr("Customisation Name"), QString());
    if (name.isEmpty())
        return;
    SetKeyLine(mSchemeLines, QStringLiteral("Name"), name);
    for (const int field : SchemeFields())
        SetKeyLine(mSchemeLines, fieldKey(field), QString::number(mWorking.field(field)));
    try {
        // A name must not lead the file out of the scheme folder.
        if (!IsSafeSchemeName(name))
            throw FileError(tr(SaveError));
        WriteTextLines(SchemeFilePath(name), mSchemeLines);
    } catch (const FileError&) {
        prompts().message(tr(SaveError), MessageKind::Error);
    }
}

void OpenCustomisation(QWidget* parent, AppearanceSettings& appearance, ReadingAids& aids,
                       const std::function<void()>& applyAppearance,
                       const std::function<void(CustomiseDialog&)>& prepare)
{
    CustomiseDialog dialog(
        appearance,
        [&](const AppearanceSettings& working) {
            appearance = working;
            if (applyAppearance)
                applyAppearance();
        },
        parent);
    dialog.setReadingAids(aids, [&](const ReadingAids& working) { aids = working; });
    if (prepare)
        prepare(dialog);
    dialog.exec();
}
