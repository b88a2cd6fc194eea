#include "dialogs/MenuMarker.h"

#include <QAction>
#include <QMenu>

#include <functional>

namespace {
constexpr char MarkProperty[] = "markedDefault";
constexpr char GroupProperty[] = "choiceGroup";

void setMarked(QAction* item, bool marked)
{
    item->setProperty(MarkProperty, marked);
    QFont font = item->font();
    font.setBold(marked);
    item->setFont(font);
}

bool isGroup(const QMenu* menu)
{
    return menu && menu->property(GroupProperty).toBool();
}

// Every item of the choice that `menu` offers, the submenus that group it and the items in them.
void forEachItem(const QMenu* menu, const std::function<void(QAction*)>& visit)
{
    for (QAction* item : menu->actions()) {
        visit(item);
        if (isGroup(item->menu()))
            forEachItem(item->menu(), visit);
    }
}
} // namespace

void MarkAsChoiceGroup(QMenu* group)
{
    group->setProperty(GroupProperty, true);
}

void MarkDefault(QAction* item)
{
    if (!item)
        return;
    if (const auto* menu = qobject_cast<QMenu*>(item->parent())) {
        forEachItem(menu, [item](QAction* other) {
            if (other != item && IsMarkedDefault(other))
                setMarked(other, false);
        });
    }
    setMarked(item, true);
    // The group that holds the chosen item is marked with it, so the choice can be seen from the menu above.
    for (QObject* holder : item->associatedObjects()) {
        if (auto* group = qobject_cast<QMenu*>(holder); isGroup(group))
            setMarked(group->menuAction(), true);
    }
}

void UnmarkDefault(QAction* item)
{
    if (item)
        setMarked(item, false);
}

bool IsMarkedDefault(const QAction* item)
{
    return item && item->property(MarkProperty).toBool();
}

QAction* MarkedItem(const QMenu* submenu)
{
    QAction* marked = nullptr;
    forEachItem(submenu, [&marked](QAction* item) {
        if (!marked && !isGroup(item->menu()) && IsMarkedDefault(item))
            marked = item;
    });
    return marked;
}

QString MarkedItemCaption(const QMenu* submenu)
{
    const QAction* item = MarkedItem(submenu);
    return item ? ItemCaption(item) : QString();
}

bool SelectItemByCaption(QMenu* submenu, const QString& text)
{
    QAction* found = nullptr;
    forEachItem(submenu, [&](QAction* item) {
        if (!found && !item->isSeparator() && !isGroup(item->menu()) && ItemCaption(item) == text)
            found = item;
    });
    if (!found)
        return false;
    MarkDefault(found);
    found->trigger();
    return true;
}

QString ItemCaption(const QAction* item)
{
    QString caption = item->text();
    // Captions are set literally ("&&" for a real ampersand); undo that escaping.
    caption.replace(QLatin1String("&&"), QLatin1String("&"));
    return caption;
}
