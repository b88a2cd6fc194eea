#include "window/writing/DefinitionWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

QString DefinitionWindow::FirstMeaningText(const QString& word, const QList<WordMeaning>& meanings)
{
    if (meanings.isEmpty())
        return tr("There is no definition of \"%1\" in the dictionary.").arg(word);
    const WordMeaning& first = meanings.first();
    QString text = QStringLiteral("%1, %2: %3.").arg(word, first.partOfSpeech, first.gloss);
    if (!first.examples.isEmpty())
        text += tr(" For example: %1.").arg(first.examples.first());
    return text;
}

DefinitionWindow::DefinitionWindow(const QString& word, const QList<WordMeaning>& meanings, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDefinition"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Define: %1").arg(word));
    setAccessibleName(windowTitle());
    resize(560, 420);

    reMeanings = new QTextBrowser(this);
    reMeanings->setObjectName(QStringLiteral("reMeanings"));
    reMeanings->setAccessibleName(tr("Meanings of %1").arg(word));
    QString html = QStringLiteral("<h3>%1</h3><ol>").arg(word.toHtmlEscaped());
    QStringList synonyms;
    for (const WordMeaning& meaning : meanings) {
        html += QStringLiteral("<li><i>%1</i> %2").arg(meaning.partOfSpeech, meaning.gloss.toHtmlEscaped());
        if (!meaning.examples.isEmpty())
            html += QStringLiteral("<br>&ldquo;%1&rdquo;").arg(meaning.examples.first().toHtmlEscaped());
        html += QStringLiteral("</li>");
        for (const QString& synonym : meaning.synonyms)
            if (!synonyms.contains(synonym))
                synonyms << synonym;
    }
    reMeanings->setHtml(html + QStringLiteral("</ol>"));

    auto* synonymsLabel = new QLabel(tr("&Synonyms:"), this);
    lbSynonyms = new QListWidget(this);
    lbSynonyms->setObjectName(QStringLiteral("lbSynonyms"));
    lbSynonyms->setAccessibleName(tr("Synonyms"));
    lbSynonyms->addItems(synonyms);
    synonymsLabel->setBuddy(lbSynonyms);
    connect(lbSynonyms, &QListWidget::currentTextChanged, this, &DefinitionWindow::readAloud);
    connect(lbSynonyms, &QListWidget::itemActivated, this, &DefinitionWindow::insertChosen);

    buInsert = new QPushButton(tr("&Insert"), this);
    buInsert->setObjectName(QStringLiteral("buInsertSynonym"));
    buInsert->setAccessibleDescription(tr("Put the chosen synonym in place of the word"));
    buInsert->setEnabled(!synonyms.isEmpty());
    connect(buInsert, &QPushButton::clicked, this, &DefinitionWindow::insertChosen);
    auto* read = new QPushButton(tr("&Read"), this);
    read->setObjectName(QStringLiteral("buReadMeaning"));
    read->setAccessibleDescription(tr("Read the first meaning aloud"));
    const QString first = FirstMeaningText(word, meanings);
    connect(read, &QPushButton::clicked, this, [this, first] { emit readAloud(first); });
    auto* close = new QPushButton(tr("&Close"), this);
    close->setObjectName(QStringLiteral("buCloseDefinition"));
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(buInsert);
    buttons->addWidget(read);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(reMeanings, 3);
    layout->addWidget(synonymsLabel);
    layout->addWidget(lbSynonyms, 1);
    layout->addLayout(buttons);
}

void DefinitionWindow::setReadingFont(const QFont& font)
{
    reMeanings->setFont(font);
    lbSynonyms->setFont(font);
}

void DefinitionWindow::insertChosen()
{
    const QListWidgetItem* chosen = lbSynonyms->currentItem();
    if (!chosen)
        chosen = lbSynonyms->item(0);
    if (chosen) {
        emit synonymChosen(chosen->text());
        close();
    }
}
