#include "window/settings/MenuDecorator.h"

#include "window/settings/AppearanceSettings.h"

#include <QMenu>

namespace {
// The decorator's fixed colours: the desktop's highlight for the item border, its inactive caption colour for
// disabled items and its button face for separators.
constexpr qint32 clHighlight = qint32(0x8000000D);
constexpr qint32 clInactiveCaption = qint32(0x80000003);
constexpr qint32 clBtnFace = qint32(0x8000000F);

QString css(const QColor& colour)
{
    return colour.name(QColor::HexRgb);
}
} // namespace

void MenuDecorator::addMenu(QMenu* menu)
{
    if (!menu || mMenus.contains(menu))
        return;
    mMenus.append(menu);
    if (mActive)
        menu->setStyleSheet(styleSheet());
}

void MenuDecorator::setColours(const MenuColours& colours)
{
    mColours = colours;
    if (mActive)
        restyle();
}

void MenuDecorator::setActive(bool active)
{
    mActive = active;
    restyle();
}

QString MenuDecorator::styleSheet() const
{
    // The icon band keeps its colour as a thin stripe at the left of the 24-pixel column: these menus carry no
    // icons, and a full band of text colour reads as a row of black boxes. Style sheets reach submenus through the
    // parent chain, so the colour scheme list rebuilt later is drawn the same way without being added.
    return QStringLiteral("QMenu { color: %1; background-color: %2; font-size: %3pt; border: 1px solid %4; }"
                          "QMenu::item { padding: 4px 24px 4px 29px; border-left: 3px solid %5;"
                          " background-color: transparent; }"
                          "QMenu::item:selected { color: %6; background-color: %7; border: 1px solid %8;"
                          " border-left: 3px solid %5; }"
                          "QMenu::item:disabled { color: %9; }"
                          "QMenu::separator { height: 1px; margin: 2px 0px 2px 24px; background-color: %10; }")
        .arg(css(mColours.text), css(mColours.background), QString::number(qMax(1, mColours.fontSize)),
             css(colourFromValue(clBtnFace)), css(mColours.iconBand), css(mColours.highlightedText),
             css(mColours.highlight), css(colourFromValue(clHighlight)), css(colourFromValue(clInactiveCaption)))
        .arg(css(colourFromValue(clBtnFace)));
}

void MenuDecorator::restyle()
{
    mMenus.removeAll(nullptr);
    const QString sheet = mActive ? styleSheet() : QString();
    for (const QPointer<QMenu>& menu : std::as_const(mMenus))
        if (menu->styleSheet() != sheet)
            menu->setStyleSheet(sheet);
}
