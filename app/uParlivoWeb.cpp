// The web panel under the reading area and the links clicked in the text.
#include "app/uParlivo.h"
#include "web/TLinkClicks.h"
#include "web/TWebPanel.h"

void TfrmReader::RefreshWebPanel()
{
    Panel1->Refresh();
}

void TfrmReader::reTextLinkClick(const QString& link, Qt::MouseButton button)
{
    Panel1->OpenLinkFromText(link, button);
}
