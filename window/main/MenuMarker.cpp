#include "window/main/MenuMarker.h"

#include <QAction>
#include <QMenu>
#include <QVariant>

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
    // A checkable item also shows the mark as its check, which screen readers announce.
    if (item->isCheckable())
        item->setChecked(marked);
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

void MarkChoice(QMenu* submenu, const QVariant& value)
{
    QAction* chosen = nullptr;
    forEachItem(submenu, [&](QAction* item) {
        if (!chosen && !item->isSeparator() && !isGroup(item->menu()) && !value.isNull() && item->data() == value)
            chosen = item;
    });
    if (chosen) {
        MarkDefault(chosen);
        return;
    }
    forEachItem(submenu, [](QAction* item) {
        if (IsMarkedDefault(item))
            setMarked(item, false);
    });
}

QString ItemCaption(const QAction* item)
{
    QString caption = item->text();
    // Captions are set literally ("&&" for a real ampersand); undo that escaping.
    caption.replace(QLatin1String("&&"), QLatin1String("&"));
    return caption;
}
