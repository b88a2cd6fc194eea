#include "ReaderFixture.h"

#include "app/uAbout.h"
#include "dialogs/uGetTextLine.h"
#include "dialogs/uStatus.h"
#include "documents/FindInText.h"
#include "settings/uCustomise.h"
#include "spelling/uSpellingAid.h"
#include "spelling/uSpellingTest.h"
#include "spelling/uSpellings.h"
#include "speech/ReaderFace.h"

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
    QObject::connect(reader->imgReader, &TReaderFace::clicked, [&clicks] { ++clicks; });
    face->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks, 1);

    TSpVoice voice(std::make_unique<ScriptedSpeechEngine>());
    std::vector<std::unique_ptr<QWidget>> dialogs;
    dialogs.push_back(std::make_unique<TfrmAbout>());
    const StatusHandle status = ShowStatus(QStringLiteral("Saving to MP3"), QStringLiteral("Please wait..."));
    ASSERT_TRUE(status);
    status->showProgress();
    EXPECT_EQ(unnamed(status.data()).join(QStringLiteral(", ")).toStdString(), std::string()) << "status window";
    CloseStatus(status);
    dialogs.push_back(std::make_unique<TfrmGetTextLine>());
    dialogs.push_back(std::make_unique<TfrmCustomise>(reader->FAppearance, [](const AppearanceSettings&) {}));
    dialogs.push_back(std::make_unique<TfrmSpelingBuildWordList>());
    dialogs.push_back(std::make_unique<TfrmSpellingAid>(voice, reader->FAppearance));
    dialogs.push_back(MakeSpellingTest(voice, reader->FAppearance,
                                       {QStringLiteral("Hi."), QStringLiteral("Bye."), QStringLiteral("cat,5")}));
    dialogs.push_back(std::make_unique<TFindDialog>(reader->reText));
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
