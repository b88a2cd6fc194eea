#include "window/web/WebPanel.h"

#include "core/Errors.h"
#include "formats/PageText.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QStyleOptionToolButton>
#include <QStyle>
#include <QStylePainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineView>

namespace {

const QString AboutBlank = QStringLiteral("about:blank");

// Design sizes of the address bar, in pixels.
constexpr int PanelHeight = 231;
constexpr int BarHeight = 41;
constexpr int AddressLeft = 216;
constexpr int AddressTop = 11;
constexpr int AddressHeight = 24;
constexpr int MinimumAddressWidth = 60;
constexpr int GoWidth = 31;
constexpr int GoGap = 2;
constexpr int RightMargin = 4;

// A flat-faced button whose short caption may use its whole face: a 32-pixel button with the
// style's usual label margins would clip a caption at 13 pixels.
class TSpeedButton : public QToolButton
{
public:
    using QToolButton::QToolButton;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        if (toolButtonStyle() == Qt::ToolButtonIconOnly)
            return QToolButton::paintEvent(event);
        QStylePainter painter(this);
        QStyleOptionToolButton option;
        initStyleOption(&option);
        const QString caption = option.text;
        option.text.clear();
        painter.drawComplexControl(QStyle::CC_ToolButton, option);
        const bool sunken = option.state & QStyle::State_Sunken;
        painter.drawItemText(rect().translated(sunken ? 1 : 0, sunken ? 1 : 0), Qt::AlignCenter, palette(), isEnabled(),
                             caption, QPalette::ButtonText);
        if (hasFocus()) {
            painter.setPen(QPen(palette().color(QPalette::ButtonText), 1, Qt::DotLine));
            painter.drawRect(rect().adjusted(2, 2, -3, -3));
        }
    }
};

void setHint(QWidget* widget, const QString& hint, const QString& accessibleName)
{
    widget->setToolTip(hint);
    widget->setStatusTip(hint);
    widget->setAccessibleName(accessibleName);
    widget->setAccessibleDescription(hint);
}

// A history button: the style's picture of its command, its caption kept as its text; screen readers say its hint.
QToolButton* speedButton(QWidget* parent, const char* name, const QString& caption, QStyle::StandardPixmap picture,
                         const QString& hint, int left)
{
    auto* button = new TSpeedButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setIcon(button->style()->standardIcon(picture, nullptr, button));
    button->setIconSize(QSize(20, 20));
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    setHint(button, hint, hint);
    button->setGeometry(left, 5, 32, 32);
    // Tab reaches the button; a click leaves the focus where it was.
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

} // namespace

WebPanel::WebPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Panel1"));
    // Until the browser is first used the panel is its address bar alone, and the text above has the room.
    resize(width(), BarHeight);
    setMaximumHeight(BarHeight);
    // The splitter above may squeeze the panel to 20 pixels; the address bar is then cut off, not moved.
    setMinimumHeight(20);

    buildAddressBar();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel2);

    connect(buWebGo, &QToolButton::clicked, this, &WebPanel::buWebGoClick);
    connect(buWebBack, &QToolButton::clicked, this, &WebPanel::buWebBackClick);
    connect(buWebForward, &QToolButton::clicked, this, &WebPanel::buWebForwardClick);
    connect(buWebRefresh, &QToolButton::clicked, this, &WebPanel::buWebRefreshClick);
    connect(buWebStop, &QToolButton::clicked, this, &WebPanel::buWebStopClick);
}

QWebEngineView* WebPanel::browser()
{
    if (!MozillaWebBrowser)
        startBrowser();
    return MozillaWebBrowser;
}

void WebPanel::startBrowser()
{
    MozillaWebBrowser = new QWebEngineView(this);
    MozillaWebBrowser->setObjectName(QStringLiteral("MozillaWebBrowser"));
    setHint(MozillaWebBrowser, tr("Web content browser"), tr("Web content browser"));
    static_cast<QVBoxLayout*>(layout())->addWidget(MozillaWebBrowser, 1);
    // Tab goes from Go! into the page.
    QWidget::setTabOrder(buWebGo, MozillaWebBrowser);

    connect(MozillaWebBrowser, &QWebEngineView::loadStarted, this, [this] { mLoading = true; });
    connect(MozillaWebBrowser, &QWebEngineView::loadFinished, this, [this] {
        mLoading = false;
        navigationCompleted();
    });
    connect(MozillaWebBrowser, &QWebEngineView::urlChanged, this, [this] {
        if (!mLoading)
            navigationCompleted();
    });
    connect(MozillaWebBrowser->page(), &QWebEnginePage::loadingChanged, this,
            [this](const QWebEngineLoadingInfo& info) {
                if (info.status() != QWebEngineLoadingInfo::LoadStartedStatus)
                    mLoadFailed = info.status() == QWebEngineLoadingInfo::LoadFailedStatus &&
                                  info.errorDomain() != QWebEngineLoadingInfo::HttpStatusCodeDomain;
            });
    MozillaWebBrowser->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(MozillaWebBrowser, &QWidget::customContextMenuRequested, this, &WebPanel::MozillaWebBrowserContextMenu);
    setMaximumHeight(QWIDGETSIZE_MAX);
    MozillaWebBrowser->show();
    emit browserStartedNow();
}

void WebPanel::buildAddressBar()
{
    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedHeight(BarHeight);
    // The bar keeps its own look whatever colours and sizes the window around it takes.
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(13);
    Panel2->setFont(font);
    QPalette palette = QApplication::palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        palette.setColor(role, Qt::black);
    // Set every background role outright, so a dark colour scheme of the window around cannot reach the bar.
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button, QPalette::Base})
        palette.setColor(role, QApplication::palette().color(role));
    Panel2->setPalette(palette);
    Panel2->setAutoFillBackground(true);
    Panel2->installEventFilter(this);

    buWebBack = speedButton(Panel2, "buWebBack", QStringLiteral("|<"), QStyle::SP_ArrowBack, tr("Back"), 3);
    buWebRefresh =
        speedButton(Panel2, "buWebRefresh", QStringLiteral(">R<"), QStyle::SP_BrowserReload, tr("Refresh"), 39);
    buWebForward =
        speedButton(Panel2, "buWebForward", QStringLiteral(">|"), QStyle::SP_ArrowForward, tr("Forward"), 77);
    buWebStop = speedButton(Panel2, "buWebStop", QStringLiteral(">X<"), QStyle::SP_BrowserStop, tr("Stop"), 113);

    Bevel1 = new QFrame(Panel2);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::VLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(145, 2, 6, 37);

    Label1 = new QLabel(tr("Address:"), Panel2);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->adjustSize();
    Label1->move(158, 13);

    edWebAddress = new QLineEdit(Panel2);
    edWebAddress->setObjectName(QStringLiteral("edWebAddress"));
    setHint(edWebAddress, tr("Enter web address (URL) to which you wish to navigate."), tr("Address"));
    Label1->setBuddy(edWebAddress);
    edWebAddress->installEventFilter(this);

    buWebGo = new TSpeedButton(Panel2);
    buWebGo->setObjectName(QStringLiteral("buWebGo"));
    buWebGo->setText(tr("Go!"));
    setHint(buWebGo, tr("Go to address (website)"), tr("Go to address (website)"));
    buWebGo->setFocusPolicy(Qt::TabFocus);

    Panel2->setMinimumWidth(addressLeft() + MinimumAddressWidth + GoGap + GoWidth + RightMargin);
    placeAddressBarControls();
}

int WebPanel::addressLeft() const
{
    // A longer caption than "Address:" (another language's) moves the field right rather than being covered by it.
    constexpr int LabelGap = 1; // the field's own frame and margin keep the text apart
    return qMax(AddressLeft, Label1->geometry().right() + 1 + LabelGap);
}

// The address edit stretches with the bar and the Go button keeps to its right end.
void WebPanel::placeAddressBarControls()
{
    const int left = addressLeft();
    const int goLeft = qMax(Panel2->width() - RightMargin - GoWidth, left + MinimumAddressWidth + GoGap);
    edWebAddress->setGeometry(left, AddressTop, goLeft - GoGap - left, AddressHeight);
    buWebGo->setGeometry(goLeft, AddressTop, GoWidth, AddressHeight);
}

QSize WebPanel::sizeHint() const
{
    return {Panel2->minimumWidth(), MozillaWebBrowser ? PanelHeight : BarHeight};
}

bool WebPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Panel2 && event->type() == QEvent::Resize) {
        placeAddressBarControls();
    } else if (watched == edWebAddress && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            GoToAddress();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QString WebPanel::LocationURL() const
{
    const QUrl url = MozillaWebBrowser ? MozillaWebBrowser->url() : QUrl();
    return url.isEmpty() ? AboutBlank : url.toString();
}

void WebPanel::Navigate(const QString& address)
{
    const QUrl url = QUrl::fromUserInput(address);
    if (!url.isValid() || url.isEmpty())
        throw ParlivoError(tr("'%1' is not a web address the browser can go to.").arg(address));
    // A page cannot show an e-mail address; the user's mail program can.
    if (url.scheme() == QLatin1String("mailto")) {
        if (!QDesktopServices::openUrl(url))
            throw ParlivoError(tr("No mail program could be started for '%1'.").arg(address));
        return;
    }
    mReloading.clear();
    browser()->load(url);
}

void WebPanel::GoToAddress()
{
    const QString address = edWebAddress->text();
    if (address.trimmed().isEmpty())
        return;
    Navigate(address);
}

void WebPanel::GoBackInHistory()
{
    const QString location = LocationURL();
    if (location == AboutBlank)
        return;
    if (!MozillaWebBrowser->history()->canGoBack())
        throw ParlivoError(tr("Cannot go back: the browser has no earlier page."));
    edWebAddress->setText(location);
    mReloading.clear();
    MozillaWebBrowser->back();
}

void WebPanel::GoForwardInHistory()
{
    const QString location = LocationURL();
    if (location == AboutBlank)
        return;
    if (!MozillaWebBrowser->history()->canGoForward())
        throw ParlivoError(tr("Cannot go forward: the browser has no later page."));
    edWebAddress->setText(location);
    mReloading.clear();
    MozillaWebBrowser->forward();
}

void WebPanel::Refresh()
{
    if (!MozillaWebBrowser)
        return;
    mReloading = MozillaWebBrowser->url();
    MozillaWebBrowser->reload();
}

void WebPanel::Stop()
{
    if (MozillaWebBrowser)
        MozillaWebBrowser->stop();
}

void WebPanel::navigationCompleted()
{
    const bool reloaded = !mReloading.isEmpty() && mReloading == MozillaWebBrowser->url();
    mReloading.clear();
    if (!reloaded)
        ShowCurrentAddress();
}

void WebPanel::ShowCurrentAddress()
{
    const QString location = LocationURL();
    if (location != AboutBlank)
        edWebAddress->setText(location);
}

void WebPanel::OpenLinkFromText(const QString& linkText, Qt::MouseButton button)
{
    if (button != Qt::LeftButton)
        return;
    const QString location = LocationURL();
    if (location.toLower() == AboutBlank)
        return;
    edWebAddress->setText(location);
    Navigate(linkText);
}

PageTextRequest* WebPanel::RequestPageText()
{
    // With no browser yet there is no page: the request says so without starting one.
    return new PageTextRequest(MozillaWebBrowser ? MozillaWebBrowser->page() : nullptr, true, mLoadFailed, this);
}

QMenu* WebPanel::PageMenu(QMenu* browserMenu)
{
    QMenu* menu = browserMenu ? browserMenu : new QMenu(this);
    QAction* first = menu->actions().value(0);
    menu->insertActions(first, mPageMenuItems);
    if (first && !mPageMenuItems.isEmpty())
        menu->insertSeparator(first);
    return menu;
}

void WebPanel::MozillaWebBrowserContextMenu(const QPoint& position)
{
    // The browser's menu is valid only while its request is: build it here and show it at once.
    QMenu* menu = PageMenu(MozillaWebBrowser->createStandardContextMenu());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(MozillaWebBrowser->mapToGlobal(position));
}
