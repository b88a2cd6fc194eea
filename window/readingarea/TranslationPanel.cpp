#include "window/readingarea/TranslationPanel.h"

#include "speech/Translation.h"

#include <QAccessible>
#include <QLabel>
#include <QRegularExpression>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// The translation as rich text: marked words in italics, mark kept, so they stand out as not translated.
QString markedUp(const QString& translation)
{
    QString html = translation.toHtmlEscaped();
    static const QRegularExpression marked(QStringLiteral("(?<!\\w)([*@#]\\w[\\w'\u2019-]*)"),
                                           QRegularExpression::UseUnicodePropertiesOption);
    html.replace(marked, QStringLiteral("<i>\\1</i>"));
    html.replace(u'\n', QStringLiteral("<br>"));
    return html;
}
} // namespace

TranslationPanel::TranslationPanel(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("panTranslation"));
    setAccessibleName(tr("Translation"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    auto* heading = new QHBoxLayout();
    layout->addLayout(heading);

    labLanguage = new QLabel(this);
    labLanguage->setObjectName(QStringLiteral("labLanguage"));
    QFont bold; // only the weight is its own: the size follows the panel's
    bold.setBold(true);
    labLanguage->setFont(bold);
    heading->addWidget(labLanguage, 1);
    buCloseTranslation = new QToolButton(this);
    buCloseTranslation->setObjectName(QStringLiteral("buCloseTranslation"));
    buCloseTranslation->setText(QStringLiteral("\u00D7"));
    buCloseTranslation->setAccessibleName(tr("Close translation"));
    buCloseTranslation->setToolTip(tr("Close translation"));
    buCloseTranslation->setAutoRaise(true);
    heading->addWidget(buCloseTranslation);

    labTranslation = new QLabel(this);
    labTranslation->setObjectName(QStringLiteral("labTranslation"));
    labTranslation->setWordWrap(true);
    labTranslation->setTextFormat(Qt::RichText);
    labTranslation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Selectable, so the learner can copy it, and reachable with the keyboard.
    labTranslation->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    labTranslation->setFocusPolicy(Qt::StrongFocus);
    layout->addWidget(labTranslation, 1);

    connect(buCloseTranslation, &QToolButton::clicked, this, &QWidget::hide);
    hide();
}

void TranslationPanel::showTranslation(const QString& languageName, const TranslatedText& translation, bool announce)
{
    labLanguage->setText(languageName);
    QString html = markedUp(translation.text);
    QString spoken = translation.spoken();
    if (!translation.unknownWords.isEmpty()) {
        const QString unknown = translation.unknownWords.join(QStringLiteral(", "));
        html += tr("<p><small>Not translated: %1</small></p>").arg(unknown.toHtmlEscaped());
        spoken += tr(" Not translated: %1").arg(unknown);
    }
    labTranslation->setText(html);
    labTranslation->setAccessibleName(tr("%1 translation").arg(languageName));
    labTranslation->setAccessibleDescription(spoken);
    show();
    if (announce) {
        QAccessibleEvent changed(labTranslation, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
        QAccessibleEvent alert(this, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    }
}

QString TranslationPanel::shownText() const
{
    return labTranslation->accessibleDescription();
}
