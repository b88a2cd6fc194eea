#pragma once

#include <QColor>
#include <QList>
#include <QPointer>
#include <QString>

class QMenu;

// The colours and size the popup menus are drawn with.
struct MenuColours
{
    QColor text;
    QColor highlightedText;
    QColor background;
    QColor iconBand; // the 24-pixel column at the left of every item
    QColor highlight;
    int fontSize = 10;
};

// Draws the window's popup menus (and their submenus) in the appearance colours. Switched off, the menus fall
// back to the desktop's own look; switched on, they take the current colours. Menus destroyed meanwhile are
// forgotten by themselves.
class MenuDecorator
{
public:
    void addMenu(QMenu* menu);
    void setColours(const MenuColours& colours);
    const MenuColours& colours() const { return mColours; }

    void setActive(bool active);
    bool isActive() const { return mActive; }

    // The style sheet the menus carry while the decorator is on.
    QString styleSheet() const;

private:
    void restyle();

    QList<QPointer<QMenu>> mMenus;
    MenuColours mColours;
    bool mActive = false;
};
