#pragma once

#include <QUrl>
#include <QWidget>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;
class QWebEngineView;
class PageTextRequest;

// The browser panel under the reading area: an address bar with history buttons above a web view.
// The history, the current page and its address belong to the web view; the panel keeps the
// address bar in step with the page shown.
class WebPanel : public QWidget
{
    Q_OBJECT
public:
    explicit WebPanel(QWidget* parent = nullptr);

    QWidget* Panel2 = nullptr;
    QToolButton* buWebBack = nullptr;
    QToolButton* buWebRefresh = nullptr;
    QToolButton* buWebForward = nullptr;
    QToolButton* buWebStop = nullptr;
    QFrame* Bevel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* edWebAddress = nullptr;
    QToolButton* buWebGo = nullptr;
    // The web view: none until the panel is first used, since the browser engine costs a great deal of memory.
    QWebEngineView* MozillaWebBrowser = nullptr;

    // The web view, started now if it had not been; the panel then takes its full height.
    QWebEngineView* browser();
    bool browserStarted() const { return MozillaWebBrowser != nullptr; }

    // The address of the page shown; "about:blank" for the empty page before any navigation.
    QString LocationURL() const;
    // Goes to an address as a user would type it ("www.example.org" becomes an http address); a
    // mailto: address goes to the user's mail program. Throws ParlivoError when no web address can
    // be made of it.
    void Navigate(const QString& address);

    // Navigates to the address bar's text; a blank address bar does nothing.
    void GoToAddress();
    // Leave the page shown for the previous or next one; nothing happens on the empty page. Throw
    // ParlivoError when the history holds no such page, leaving the panel as it was.
    void GoBackInHistory();
    void GoForwardInHistory();
    // Reloads the page shown; what is being typed into the address bar stays there.
    void Refresh();
    void Stop();
    // Called when a navigation completes: the address bar shows the page reached (the empty page
    // leaves the bar as it was).
    void ShowCurrentAddress();
    // A link clicked in the reading area: only the left button navigates, and only once a page is
    // shown. The address bar first takes the address of the page being left.
    void OpenLinkFromText(const QString& linkText, Qt::MouseButton button = Qt::LeftButton);

    // A request for the readable text of the page shown (the selection, else the article): connect to it, then
    // start() it. It ends with finished() or failed() and deletes itself; a page still loading is read once it
    // has loaded.
    PageTextRequest* RequestPageText();

    // Commands offered at the top of the page's right-click menu, above the browser's own.
    void AddPageMenuItem(QAction* item) { mPageMenuItems.append(item); }
    // The page's right-click menu: the panel's commands, then the browser's (when `browserMenu` is given).
    QMenu* PageMenu(QMenu* browserMenu);

    QSize sizeHint() const override;

signals:
    // The web view was made: the panel wants room to show pages.
    void browserStartedNow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildAddressBar();
    void startBrowser();
    void placeAddressBarControls();
    int addressLeft() const;
    void navigationCompleted();

    void buWebGoClick() { GoToAddress(); }
    void buWebBackClick() { GoBackInHistory(); }
    void buWebForwardClick() { GoForwardInHistory(); }
    void buWebRefreshClick() { Refresh(); }
    void buWebStopClick() { Stop(); }
    void MozillaWebBrowserContextMenu(const QPoint& position);

    // The page a Refresh reloads: its completion must not overwrite an address being typed.
    QUrl mReloading;
    // Moves within a page (#anchors, script history) complete without a load of their own.
    bool mLoading = false;
    // The page shown is the browser's error page for an address that could not be loaded.
    bool mLoadFailed = false;
    QList<QAction*> mPageMenuItems;
};
