#include "ReaderFixture.h"

#include "window/dialogs/AboutWindow.h"
#include "window/dialogs/TextLineDialog.h"
#include "window/dialogs/StatusDialog.h"
#include "window/readingarea/FindInText.h"
#include "window/settings/CustomiseDialog.h"
#include "window/spelling/SpellingAidDialog.h"
#include "window/spelling/SpellingTestDialog.h"
#include "window/spelling/SpellingBuilderDialog.h"
#include "window/face/ReaderFace.h"

#include <QAccessible>
#include <QAction>
#include <QMenu>

namespace {
// Walks a window's accessibility tree as a screen reader does and lists every control the keyboard can reach
// that has no spoken name, and every menu or menu item without one. The rows of grids and lists, and the
// page inside the web browser, are content rather than controls: they are not entered.
QStringList unnamed(QWidget* window)
{
    QStringList found;
    std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
        if (!node || node->state().invisible)
            return;
        const QString name = node->text(QAccessible::Name).trimmed();
        const QObject* object = node->object();
        const QString where = object ? QStringLiteral("%1 %2").arg(
                                           QString::fromLatin1(object->metaObject()->className()), object->objectName())
                                     : QStringLiteral("role %1").arg(int(node->role()));
        if (name.isEmpty() && (node->state().focusable || node->role() == QAccessible::PopupMenu ||
                               node->role() == QAccessible::MenuItem))
            found << where;
        if (QList<QAccessible::Role>{QAccessible::Table, QAccessible::List, QAccessible::Tree, QAccessible::WebDocument}
                .contains(node->role()) ||
            (object && object->inherits("QWebEngineView")))
            return;
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i));
    };
    walk(QAccessible::queryAccessibleInterface(window));
    // Popup menus are windows of their own: walk each one with its items.
    for (QMenu* menu : window->findChildren<QMenu*>()) {
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(menu);
        if (node->text(QAccessible::Name).trimmed().isEmpty())
            found << QStringLiteral("menu ") + menu->objectName();
        for (const QAction* item : menu->actions())
            if (!item->isSeparator() && item->text().trimmed().isEmpty())
                found << QStringLiteral("item ") + item->objectName();
    }
    return found;
}
} // namespace

TEST_F(ReaderFixture, EveryControlMenuAndDialogHasASpokenName)
{
    useShippedSettings();
    create();
    EXPECT_EQ(unnamed(reader.get()).join(QStringLiteral(", ")).toStdString(), std::string()) << "main window";
    // The face acts as a button: announced as one by its name, and pressing it is a click.
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(reader->imgReader);
    EXPECT_EQ(face->role(), QAccessible::Button);
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("Parlivo"));
    int clicks = 0;
    QObject::connect(reader->imgReader, &ReaderFace::clicked, [&clicks] { ++clicks; });
    face->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks, 1);

    Voice voice(std::make_unique<ScriptedSpeechEngine>());
    std::vector<std::unique_ptr<QWidget>> dialogs;
    dialogs.push_back(std::make_unique<AboutWindow>());
    const StatusHandle status = ShowStatus(QStringLiteral("Saving to MP3"), QStringLiteral("Please wait..."));
    ASSERT_TRUE(status);
    status->showProgress();
    EXPECT_EQ(unnamed(status.data()).join(QStringLiteral(", ")).toStdString(), std::string()) << "status window";
    CloseStatus(status);
    dialogs.push_back(std::make_unique<TextLineDialog>());
    dialogs.push_back(std::make_unique<CustomiseDialog>(reader->mAppearance, [](const AppearanceSettings&) {}));
    dialogs.push_back(std::make_unique<SpellingBuilderDialog>());
    dialogs.push_back(std::make_unique<SpellingAidDialog>(voice, reader->mAppearance));
    dialogs.push_back(MakeSpellingTest(voice, reader->mAppearance,
                                       {QStringLiteral("Hi."), QStringLiteral("Bye."), QStringLiteral("cat,5")}));
    dialogs.push_back(std::make_unique<FindDialog>(reader->reText));
    for (const auto& dialog : dialogs) {
        dialog->show();
        EXPECT_FALSE(dialog->windowTitle().isEmpty() &&
                     QAccessible::queryAccessibleInterface(dialog.get())->text(QAccessible::Name).isEmpty())
            << dialog->metaObject()->className() << " has no title to be announced by";
        EXPECT_EQ(unnamed(dialog.get()).join(QStringLiteral(", ")).toStdString(), std::string())
            << dialog->metaObject()->className();
        dialog->hide();
    }
}

TEST_F(ReaderFixture, VoicesInTheirLanguageMenusAreNamedAndTheChosenOneIsChecked)
{
    create();
    reader->SelectVoice(QStringLiteral("English (America)"));
    // The readers menu groups its voices anew each time it opens.
    QMenu* readers = reader->miReadersList;
    for (int opened = 0; opened < 2; ++opened) {
        emit readers->aboutToShow();
        QStringList named;
        QStringList checked;
        for (QMenu* group : readers->findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) {
            QAccessibleInterface* node = QAccessible::queryAccessibleInterface(group);
            for (int i = 0; i < node->childCount(); ++i) {
                QAccessibleInterface* item = node->child(i);
                ASSERT_TRUE(item->isValid()) << "opened " << opened;
                named << item->text(QAccessible::Name);
                if (item->state().checkable && item->state().checked)
                    checked << item->text(QAccessible::Name);
            }
        }
        EXPECT_EQ(named, (QStringList{QStringLiteral("English (America)"), QStringLiteral("English (Great Britain)")}));
        EXPECT_EQ(checked, QStringList{QStringLiteral("English (America)")});
    }
}
