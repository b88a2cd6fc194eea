// Every window and dialog laid out in English and in Spanish: no caption is cut or covered by another control.
#include "ReaderFixture.h"
#include "window/dialogs/AboutWindow.h"
#include "window/dialogs/PronunciationsDialog.h"
#include "window/dialogs/StatusDialog.h"
#include "window/dialogs/TextLineDialog.h"
#include "window/main/StatusLine.h"
#include "window/main/ToolbarButton.h"
#include "window/readingarea/FindInText.h"
#include "window/settings/CustomiseDialog.h"
#include "window/settings/InterfaceLanguage.h"
#include "window/spelling/SpellingAidDialog.h"
#include "window/spelling/SpellingBuilderDialog.h"
#include "window/spelling/SpellingTestDialog.h"
#include "window/writing/DefinitionWindow.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTest>
#include <QTranslator>

namespace {

QString shownCaption(QString text)
{
    // "&Save" shows "Save"; "&&" shows one "&".
    return text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(u'&').replace(u'\x01', u'&');
}

QString nameOf(const QWidget* control)
{
    return control->objectName().isEmpty() ? QString::fromLatin1(control->metaObject()->className())
                                           : control->objectName();
}

// The part of `control` in sight within `root`: its own rectangle clipped by each of its parents, in root's terms.
QRect inSight(const QWidget* control, const QWidget& root)
{
    QRect shown(control->mapTo(&root, QPoint()), control->size());
    for (const QWidget* parent = control->parentWidget(); parent && parent != &root; parent = parent->parentWidget())
        shown &= QRect(parent->mapTo(&root, QPoint()), parent->size());
    return shown & root.rect();
}

// The captions of `root` a user cannot read whole: wider or taller than their control, cut by a parent, or covered
// by a sibling. Controls wholly out of sight (a panel folded to nothing) are not read at all.
QStringList CutCaptions(const QWidget& root)
{
    QStringList faults;
    for (const QWidget* control : root.findChildren<QWidget*>()) {
        if (!control->isVisibleTo(&root) || control->isWindow() || qobject_cast<const StatusLine*>(control))
            continue;
        const QRect shown = inSight(control, root);
        if (shown.isEmpty())
            continue;
        QString caption;
        bool fits = true;
        if (const auto* toolbar = qobject_cast<const ToolbarButton*>(control)) {
            caption = toolbar->text();
            fits = QFontMetrics(toolbar->captionFont()).horizontalAdvance(caption) <= toolbar->captionRect().width();
        } else if (qobject_cast<const QCheckBox*>(control) || qobject_cast<const QRadioButton*>(control)) {
            caption = static_cast<const QAbstractButton*>(control)->text();
            fits = control->sizeHint().width() <= control->width();
        } else if (const auto* button = qobject_cast<const QPushButton*>(control)) {
            caption = shownCaption(button->text());
            QStyleOptionButton option;
            option.initFrom(button);
            const QRect inside = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            fits = button->fontMetrics().horizontalAdvance(caption) <= inside.width();
        } else if (const auto* tool = qobject_cast<const QToolButton*>(control)) {
            if (tool->toolButtonStyle() != Qt::ToolButtonIconOnly)
                caption = tool->text();
            fits = tool->fontMetrics().horizontalAdvance(caption) <= tool->width() - 2;
        } else if (const auto* label = qobject_cast<const QLabel*>(control)) {
            caption = label->text();
            const QSize needed =
                label->wordWrap() ? QSize(0, label->heightForWidth(label->width())) : label->minimumSizeHint();
            fits = needed.width() <= label->width() && needed.height() <= label->height();
        } else if (const auto* group = qobject_cast<const QGroupBox*>(control)) {
            caption = group->title();
            fits = group->minimumSizeHint().width() <= group->width();
        }
        if (caption.isEmpty())
            continue;
        const QString named = QStringLiteral("%1 \"%2\"").arg(nameOf(control), caption);
        if (!fits || shown.size() != control->size())
            faults << named + QStringLiteral(" is cut");
        for (const QObject* sibling : control->parentWidget()->children()) {
            const auto* other = qobject_cast<const QWidget*>(sibling);
            if (other && other != control && other->isVisibleTo(&root) && !other->isWindow() &&
                inSight(other, root).intersects(shown))
                faults << named + QStringLiteral(" is covered by ") + nameOf(other);
        }
    }
    return faults;
}

class DialogLayout : public ReaderFixture, public ::testing::WithParamInterface<const char*>
{
protected:
    void SetUp() override
    {
        if (QLatin1String(GetParam()) == QLatin1String("es")) {
            ASSERT_EQ(InstallInterfaceTranslation(*qApp, QStringLiteral("es"), QLocale::c()), QStringLiteral("es"));
        }
        ReaderFixture::SetUp();
        useShippedSettings(); // the type sizes users start with
        create();
    }
    void TearDown() override
    {
        reader.reset();
        removeInterfaceTranslations();
    }

    void expectReadable(QWidget& window)
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        const QStringList faults = CutCaptions(window);
        EXPECT_TRUE(faults.isEmpty()) << window.objectName().toStdString() << ":\n" << faults.join(u'\n').toStdString();
        window.hide();
    }
};

TEST_P(DialogLayout, NoCaptionOfAnyWindowIsCutOrCovered)
{
    // The main window on the smallest screen it is used on.
    reader->setGeometry(0, 0, 1024, 768);
    expectReadable(*reader);

    CustomiseDialog customise(reader->mAppearance, {});
    customise.setMyLanguage({{QStringLiteral("eng-spa"), QStringLiteral("es"), QStringLiteral("Spanish")}}, {}, {});
    customise.setWindowLanguage(InterfaceLanguages(), {}, {});
    expectReadable(customise);

    TextLineDialog line;
    expectReadable(line);
    const StatusHandle status =
        ShowStatus(QCoreApplication::translate("MainWindow", "Initialising reader"),
                   QCoreApplication::translate("MainWindow", "Your text reader is loading, please wait... "));
    ASSERT_TRUE(status);
    expectReadable(*status);
    CloseStatus(status);
    AboutWindow about;
    expectReadable(about);
    FindDialog find(reader->reText);
    expectReadable(find);
    DefinitionWindow definition(QStringLiteral("bright"),
                                {{QStringLiteral("adjective"),
                                  QStringLiteral("emitting or reflecting light"),
                                  {QStringLiteral("the bright sun")},
                                  {QStringLiteral("shining")}}},
                                reader.get());
    expectReadable(definition);
    PronunciationsDialog pronunciations(*reader->spVoice, folder.filePath(QStringLiteral("words.txt")));
    expectReadable(pronunciations);
    SpellingBuilderDialog builder;
    expectReadable(builder);
    SpellingTestDialog test(*reader->spVoice, reader->mAppearance);
    expectReadable(test);
    SpellingAidDialog aid(*reader->spVoice, reader->mAppearance);
    expectReadable(aid);
}

INSTANTIATE_TEST_SUITE_P(Languages, DialogLayout, ::testing::Values("en", "es"));

} // namespace
