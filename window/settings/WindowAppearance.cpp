#include "window/settings/WindowAppearance.h"

#include "window/main/MenuMarker.h"
#include "core/Errors.h"
#include "core/Prompts.h"
#include "window/settings/ColourSchemes.h"
#include "window/settings/MenuDecorator.h"
#include "window/settings/SettingsFile.h"

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTextEdit>
#include <QToolTip>

namespace {
const QString AppFontFace = QStringLiteral("Verdana");

int pointSize(qint32 size)
{
    return qMax(1, size); // a hand-edited zero or negative size must not leave Qt without a font
}

QFont withSize(QFont font, qint32 size)
{
    font.setPointSize(pointSize(size));
    return font;
}

QFont appFont(const QWidget* widget, qint32 size)
{
    QFont font = widget->font();
    font.setFamily(AppFontFace);
    return withSize(font, size);
}

void setColours(QWidget* widget, const std::optional<QColor>& text, const std::optional<QColor>& background)
{
    QPalette palette = widget->palette();
    if (text) {
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(role, *text);
    }
    // Only the roles the control paints its own face with: a panel's colour must not reach the buttons and
    // edits of other panels inside it (the web panel keeps its own look).
    if (background) {
        const bool edit = qobject_cast<QTextEdit*>(widget) || qobject_cast<QLineEdit*>(widget);
        palette.setColor(edit ? QPalette::Base : QPalette::Window, *background);
        widget->setAutoFillBackground(!edit);
    }
    widget->setPalette(palette);
}
} // namespace

WindowAppearance::WindowAppearance(const AppearanceSurfaces& surfaces, AppearanceSettings& appearance,
                                   MenuDecorator& decorator)
    : mSurfaces(surfaces), mAppearance(appearance), mDecorator(decorator)
{
}

void WindowAppearance::ApplyAppearance()
{
    const AppearanceSettings& a = mAppearance;
    const qint32 size = a.AppFontSize;
    const QColor toolbarText = colourFromValue(a.ToolbarFColour);
    const QColor toolbarBack = colourFromValue(a.ToolbarBColour);

    mDecorator.setActive(false);
    QToolTip::setFont(withSize(QFont(AppFontFace), size));

    // The toolbar and the reader panel drop fonts of their own and take the window's.
    for (QWidget* panel : {mSurfaces.toolbar, mSurfaces.readerPanel})
        if (panel)
            panel->setFont(QFont());
    if (mSurfaces.readerPanel) {
        setColours(mSurfaces.readerPanel, toolbarText, std::nullopt);
        mSurfaces.readerPanel->setFont(appFont(mSurfaces.readerPanel, size));
    }
    if (mSurfaces.window) {
        mSurfaces.window->setFont(appFont(mSurfaces.window, size));
    }

    MenuColours menus;
    menus.fontSize = size;
    menus.text = toolbarText;
    menus.highlightedText = toolbarText;
    menus.background = toolbarBack;
    menus.iconBand = toolbarText;
    menus.highlight = colourFromValue(a.ReaderBColour);
    mDecorator.setColours(menus);

    ListColourSchemes();

    if (mSurfaces.toolbar) {
        setColours(mSurfaces.toolbar, toolbarText, toolbarBack);
        mSurfaces.toolbar->setFont(appFont(mSurfaces.toolbar, size));
        for (QWidget* button : std::as_const(mSurfaces.toolbarButtons))
            if (button)
                button->setFont(QFont());
    }
    if (mSurfaces.textAreaPanel)
        setColours(mSurfaces.textAreaPanel, std::nullopt, colourFromValue(a.TextAreaBColour));
    if (mSurfaces.readingArea)
        setColours(mSurfaces.readingArea, colourFromValue(a.TextAreaFColour), colourFromValue(a.TextAreaBColour));
    for (QWidget* panel : std::as_const(mSurfaces.besideText)) {
        setColours(panel, colourFromValue(a.TextAreaFColour), colourFromValue(a.TextAreaBColour));
        panel->setFont(appFont(panel, a.TextFontSize));
    }
    if (mSurfaces.addressEdit) {
        setColours(mSurfaces.addressEdit, colourFromValue(a.LocationFColour), colourFromValue(a.LocationBColour));
        mSurfaces.addressEdit->setFont(withSize(mSurfaces.addressEdit->font(), size));
    }
    if (mSurfaces.statusBar) {
        setColours(mSurfaces.statusBar, colourFromValue(a.StatusBarFColour), colourFromValue(a.StatusBarBColour));
        mSurfaces.statusBar->setFont(withSize(mSurfaces.statusBar->font(), size));
        mSurfaces.statusBar->setFixedHeight(pointSize(size) + 20);
    }
    if (mSurfaces.readingArea) {
        mSurfaces.readingArea->setFont(appFont(mSurfaces.readingArea, a.TextFontSize));
    }
    if (mSurfaces.readerPanel)
        setColours(mSurfaces.readerPanel, std::nullopt, colourFromValue(a.ReaderBColour));

    mDecorator.setActive(true);
}

void WindowAppearance::ListColourSchemes()
{
    QMenu* submenu = mSurfaces.colourSchemes;
    if (!submenu)
        return;
    // The item being clicked may be among these: release them once its handler has returned.
    const QList<QAction*> old = submenu->actions();
    for (QAction* item : old) {
        submenu->removeAction(item);
        if (item->parent() == submenu)
            item->deleteLater();
    }
    for (const QString& name : SchemeNames()) {
        auto* item = new QAction(QString(name).replace(QLatin1String("&"), QLatin1String("&&")), submenu);
        item->setObjectName(QStringLiteral("miScheme_") + name);
        submenu->addAction(item);
        QObject::connect(item, &QAction::triggered, item, [this, item] { ChooseColourScheme(item); });
        if (!mChosenScheme.isEmpty() && name.compare(mChosenScheme, Qt::CaseInsensitive) == 0)
            MarkDefault(item);
    }
}

void WindowAppearance::ChooseColourScheme(QAction* item)
{
    ChooseColourScheme(ItemCaption(item));
}

void WindowAppearance::ChooseColourScheme(const QString& name)
{
    const QString schemePath = SchemeFilePath(name);
    try {
        if (!IsSafeSchemeName(name))
            throw FileError(QCoreApplication::translate("WindowAppearance", "Cannot open file %1").arg(schemePath));
        CopySchemeIntoSettings(schemePath, SettingsFilePath(), mAppearance);
    } catch (const ParlivoError& error) {
        prompts().message(error.message(), MessageKind::Error);
        return;
    }
    mChosenScheme = name;
    if (mApply)
        mApply();
    else
        ApplyAppearance();
}
