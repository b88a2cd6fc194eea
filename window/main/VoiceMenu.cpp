#include "window/main/VoiceMenu.h"

#include "window/main/MenuMarker.h"
#include "window/main/MenuTypeAhead.h"
#include "speech/VoiceChoices.h"

#include <QAccessible>
#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QScreen>

namespace {
constexpr char VoiceGroupProperty[] = "voiceGroup";

// Screen readers know a menu item by an interface Qt keeps for its action, tied to the menu it was first found in.
// Once that menu is gone the interface is dead and the item is read out without a name: an item moved to another
// menu is given a fresh one.
void forgetAccessibleItem(QAction* item)
{
    if (QAccessibleInterface* stale = QAccessible::queryAccessibleInterface(item))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(stale));
}
} // namespace

void PlaceVoiceItems(QMenu* menu, const QList<QAction*>& items, const QList<VoiceToken>& voices, int rows,
                     const std::function<void(QMenu*)>& prepare)
{
    QAction* const chosen = MarkedItem(menu);
    for (QAction* item : items)
        forgetAccessibleItem(item);
    for (QAction* placed : menu->actions()) {
        menu->removeAction(placed);
        if (placed->isSeparator())
            delete placed;
    }
    for (QMenu* group : menu->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
        if (group->property(VoiceGroupProperty).toBool())
            delete group;

    const VoiceMenuLayout layout = ArrangeVoices(voices, items.indexOf(chosen), rows);
    const auto place = [&](const VoiceMenuEntry& entry) {
        if (entry.kind == VoiceMenuEntry::Voice) {
            menu->addAction(items.at(entry.voices.first()));
            return;
        }
        auto* group = new QMenu(QString(entry.caption).replace(QLatin1String("&"), QLatin1String("&&")), menu);
        group->setProperty(VoiceGroupProperty, true);
        MarkAsChoiceGroup(group);
        EnableTypeAhead(group);
        group->setAccessibleName(entry.caption);
        for (qsizetype voice : entry.voices)
            group->addAction(items.at(voice));
        QAction* opener = menu->addMenu(group);
        if (entry.kind == VoiceMenuEntry::Languages)
            SetTypeAheadRange(opener, entry.first, entry.last);
        if (chosen && group->actions().contains(chosen)) {
            const QString holds =
                QCoreApplication::translate("VoiceMenu", "The reader now: %1").arg(ItemCaption(chosen));
            opener->setStatusTip(holds);
            opener->setToolTip(holds);
            group->setAccessibleDescription(holds);
        }
        if (prepare)
            prepare(group);
    };
    for (const VoiceMenuEntry& entry : layout.leading)
        place(entry);
    if (!layout.leading.isEmpty() && !layout.rest.isEmpty())
        menu->addSeparator();
    for (const VoiceMenuEntry& entry : layout.rest)
        place(entry);
    if (chosen)
        MarkDefault(chosen);
}

int MenuRowsOnScreen(QMenu* menu, const QScreen* screen)
{
    // A menu of one item and one of two, drawn as the groups of `menu` are, give an item's height and the frame's.
    QMenu probe(menu);
    probe.addAction(QStringLiteral("Xy"));
    const int one = probe.sizeHint().height();
    probe.addAction(QStringLiteral("Xy"));
    const int item = probe.sizeHint().height() - one;
    if (!screen || item <= 0)
        return 1;
    return qMax(1, (screen->availableGeometry().height() - (one - item)) / item);
}
