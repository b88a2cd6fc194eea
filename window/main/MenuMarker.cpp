#include "window/main/MenuMarker.h"

#include <QAction>
#include <QMenu>
#include <QVariant>

namespace {
constexpr char MarkProperty[] = "markedDefault";

void setMarked(QAction* item, bool marked)
{
    item->setProperty(MarkProperty, marked);
    QFont font = item->font();
    font.setBold(marked);
    item->setFont(font);
}
} // namespace

void MarkDefault(QAction* item)
{
    if (!item)
        return;
    if (const auto* menu = qobject_cast<QMenu*>(item->parent())) {
        for (QAction* sibling : menu->actions())
            if (sibling != item && IsMarkedDefault(sibling))
                setMarked(sibling, false);
    }
    setMarked(item, true);
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
    for (QAction* item : submenu->actions())
        if (IsMarkedDefault(item))
            return item;
    return nullptr;
}

QString MarkedItemCaption(const QMenu* submenu)
{
    const QAction* item = MarkedItem(submenu);
    return item ? ItemCaption(item) : QString();
}

void MarkChoice(QMenu* submenu, const QVariant& value)
{
    for (QAction* item : submenu->actions()) {
        if (item->isSeparator())
            continue;
        if (QMenu* inner = item->menu()) {
            MarkChoice(inner, value);
            continue;
        }
        const bool chosen = !value.isNull() && item->data() == value;
        if (chosen != IsMarkedDefault(item))
            setMarked(item, chosen);
    }
}

QString ItemCaption(const QAction* item)
{
    QString caption = item->text();
    // Captions are set literally ("&&" for a real ampersand); undo that escaping.
    caption.replace(QLatin1String("&&"), QLatin1String("&"));
    return caption;
}
