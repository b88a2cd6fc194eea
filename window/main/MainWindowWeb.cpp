// The web panel under the reading area, the links clicked in the text, reading the page shown aloud, and reading
// the text in a part of the screen.
#include "window/main/MainWindow.h"
#include "core/Prompts.h"
#include "formats/PageText.h"
#include "window/readingarea/LinkClicks.h"
#include "window/readingarea/ScreenReading.h"
#include "window/web/WebPanel.h"

#include <QTextEdit>

void MainWindow::RefreshWebPanel()
{
    Panel1->Refresh();
}

void MainWindow::reTextLinkClick(const QString& link, Qt::MouseButton button)
{
    Panel1->OpenLinkFromText(link, button);
}

void MainWindow::ReadWebPage()
{
    // A second request while the first waits for its page would read the same page twice.
    if (mPageTextRequest) {
        ShowStatusText(tr("Still getting the text of the web page"));
        return;
    }
    mPageTextRequest = Panel1->RequestPageText();
    connect(mPageTextRequest, &PageTextRequest::finished, this, &MainWindow::ReadPageText);
    connect(mPageTextRequest, &PageTextRequest::failed, this, [this](const QString& message) {
        ShowStatusText(tr("Nothing read from the web page"));
        prompts().message(message);
    });
    mPageTextRequest->start();
    if (mPageTextRequest && mPageTextRequest->waitingForLoad())
        ShowStatusText(tr("The web page will be read once it has loaded"));
}

void MainWindow::ReadPageText(const PageText& page)
{
    const std::optional<int> from = PutGivenText(page.text);
    if (!from)
        return;
    ReadFrom(*from);
    ShowStatusText(page.source == PageText::Source::Selection ? tr("Reading the selection of the web page")
                                                              : tr("Reading the web page"));
}

void MainWindow::ReadFromScreen()
{
    const ScreenText screen = readScreenArea();
    if (screen.cancelled)
        return;
    if (!screen.failure.isEmpty()) {
        prompts().message(screen.failure, MessageKind::Information);
        return;
    }
    const std::optional<int> from = PutGivenText(screen.text);
    if (!from)
        return;
    ReadFrom(*from);
    ShowStatusText(tr("Reading the text from the screen"));
}
