#include "window/dialogs/PronunciationsDialog.h"

#include "core/AtomicFile.h"
#include "speech/Voice.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

PronunciationsDialog::PronunciationsDialog(Voice& voice, const QString& path, QWidget* parent)
    : QDialog(parent), mVoice(voice), mPath(path), mList(voice.Pronunciations())
{
    setObjectName(QStringLiteral("frmPronunciations"));
    setWindowTitle(tr("Pronunciations"));
    setAccessibleName(tr("Pronunciations"));
    setAccessibleDescription(tr("How the reader says names and words"));
    resize(460, 380);

    sgWords = new QTableWidget(0, 2, this);
    sgWords->setObjectName(QStringLiteral("sgWords"));
    sgWords->setHorizontalHeaderLabels({tr("Written"), tr("Spoken")});
    sgWords->horizontalHeader()->setStretchLastSection(true);
    sgWords->setSelectionBehavior(QAbstractItemView::SelectRows);
    sgWords->setSelectionMode(QAbstractItemView::SingleSelection);
    sgWords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgWords->setAccessibleName(tr("Words and how they are said"));
    edWritten = new QLineEdit(this);
    edWritten->setAccessibleName(tr("Written word"));
    edSpoken = new QLineEdit(this);
    edSpoken->setAccessibleName(tr("Spoken as"));
    edSpoken->setPlaceholderText(tr("for example: shiv awn"));
    buAdd = new QPushButton(tr("&Add or change"), this);
    buRemove = new QPushButton(tr("&Remove"), this);
    buSayIt = new QPushButton(tr("Say &it"), this);
    buSave = new QPushButton(tr("&Save"), this);
    auto* close = new QPushButton(tr("&Close"), this);
    lbProblem = new QLabel(this);
    lbProblem->setWordWrap(true);
    lbProblem->setAccessibleName(tr("Problem"));
    lbProblem->setStyleSheet(QStringLiteral("color: #b00000"));

    auto* fields = new QFormLayout;
    fields->addRow(tr("&Written:"), edWritten);
    fields->addRow(tr("S&poken as:"), edSpoken);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {buAdd, buRemove, buSayIt})
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(buSave);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sgWords);
    layout->addLayout(fields);
    layout->addWidget(lbProblem);
    layout->addLayout(buttons);

    connect(buAdd, &QPushButton::clicked, this, &PronunciationsDialog::AddWord);
    connect(buRemove, &QPushButton::clicked, this, &PronunciationsDialog::RemoveWord);
    connect(buSayIt, &QPushButton::clicked, this, &PronunciationsDialog::SayIt);
    connect(buSave, &QPushButton::clicked, this, &PronunciationsDialog::SaveList);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(sgWords, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row < 0 || !sgWords->item(row, 0))
            return;
        edWritten->setText(sgWords->item(row, 0)->text());
        edSpoken->setText(sgWords->item(row, 1)->text());
    });
    // Typing starts in the written word; Return in either field adds it.
    buAdd->setDefault(true);
    for (QPushButton* button : {buRemove, buSayIt, buSave, close})
        button->setAutoDefault(false);
    setTabOrder(edWritten, edSpoken);
    setTabOrder(edSpoken, buAdd);
    edWritten->setFocus();
    showList();
}

void PronunciationsDialog::showList()
{
    const QStringList& words = mList.written();
    sgWords->setRowCount(int(words.size()));
    for (int row = 0; row < words.size(); ++row) {
        sgWords->setItem(row, 0, new QTableWidgetItem(words[row]));
        sgWords->setItem(row, 1, new QTableWidgetItem(mList.spokenFor(words[row])));
    }
}

void PronunciationsDialog::AddWord()
{
    const QString written = edWritten->text().trimmed();
    const QString spoken = edSpoken->text().trimmed();
    const QString problem = PronunciationList::problemWith(written, spoken);
    if (!problem.isEmpty()) {
        lbProblem->setText(tr("Not added: %1.").arg(problem));
        (spoken.isEmpty() && !written.isEmpty() ? edSpoken : edWritten)->setFocus();
        return;
    }
    lbProblem->clear();
    mList.set(written, spoken);
    showList();
    edWritten->clear();
    edSpoken->clear();
    edWritten->setFocus();
}

void PronunciationsDialog::RemoveWord()
{
    mList.set(edWritten->text().trimmed(), QString());
    showList();
}

void PronunciationsDialog::SayIt()
{
    const QString spoken = edSpoken->text().trimmed();
    mVoice.Speak(spoken.isEmpty() ? edWritten->text() : spoken, SpeakAutoRead);
}

void PronunciationsDialog::SaveList()
{
    SaveFileAtomically(mPath, mList.toText().toUtf8());
    mVoice.SetPronunciations(mList);
}
