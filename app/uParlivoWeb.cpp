// The web panel under the reading area, the links clicked in the text and reading the page shown aloud.
#include "app/uParlivo.h"
#include "platform/Prompts.h"
#include "web/PageText.h"
#include "web/TLinkClicks.h"
#include "web/TWebPanel.h"

#include <QTextEdit>

void TfrmReader::RefreshWebPanel()
{
    Panel1->Refresh();
}

void TfrmReader::reTextLinkClick(const QString& link, Qt::MouseButton button)
{
    Panel1->OpenLinkFromText(link, button);
}

void TfrmReader::ReadWebPage()
{
    // A second request while the first waits for its page would read the same page twice.
    if (FPageTextRequest) {
        ShowStatusText(QStringLiteral("Still getting the text of the web page"));
        return;
    }
    FPageTextRequest = Panel1->RequestPageText();
    connect(FPageTextRequest, &PageTextRequest::finished, this, &TfrmReader::ReadPageText);
    connect(FPageTextRequest, &PageTextRequest::failed, this, [this](const QString& message) {
        ShowStatusText(QStringLiteral("Nothing read from the web page"));
        prompts().message(message);
    });
    FPageTextRequest->start();
    if (FPageTextRequest && FPageTextRequest->waitingForLoad())
        ShowStatusText(QStringLiteral("The web page will be read once it has loaded"));
}

void TfrmReader::ReadPageText(const PageText& page)
{
    if ((FBusy || FPaused || !readingAreaBlank()) &&
        !prompts().confirm(QStringLiteral("Replace text in the reading area?")))
        return;
    FBusy = false;
    FPaused = false;
    FOpenDialogFileName.clear();
    reText->setPlainText(page.text);
    StartReading(true);
    ShowStatusText(page.source == PageText::Source::Selection ? QStringLiteral("Reading the selection of the web page")
                                                              : QStringLiteral("Reading the web page"));
}
