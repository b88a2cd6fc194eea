#pragma once

#include "window/settings/AppearanceSettings.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <functional>

class MenuDecorator;
class QAction;
class QLineEdit;
class QMenu;
class QTextEdit;
class QWidget;

// The main window's controls that take the appearance colours and sizes. Any of them may be left null.
struct AppearanceSurfaces
{
    QWidget* window = nullptr;        // the main window: its font size is the application font size
    QWidget* toolbar = nullptr;       // cbarMain2
    QList<QWidget*> toolbarButtons;   // the toolbar's buttons, which take its font
    QWidget* readerPanel = nullptr;   // panReader
    QWidget* textAreaPanel = nullptr; // panTextArea
    QTextEdit* readingArea = nullptr; // reText
    QLineEdit* addressEdit = nullptr; // edAddress, the hidden location edit
    QWidget* statusBar = nullptr;     // statusBar (a QLabel or a QStatusBar)
    QMenu* colourSchemes = nullptr;   // miColourSchemes, refilled on every application
    QList<QWidget*> besideText;       // panels beside the reading area, coloured as it is
};

// Applies the appearance record to the main window and runs its colour scheme submenu. The window owns the
// record and the decorator; this keeps references to them and must not outlive them.
class WindowAppearance
{
public:
    WindowAppearance(const AppearanceSurfaces& surfaces, AppearanceSettings& appearance, MenuDecorator& decorator);
    // A panel built after the window's own controls, coloured as the reading area from the next application on.
    void addBesideText(QWidget* panel) { mSurfaces.besideText.append(panel); }

    // Pushes the record onto the controls, the menus and the tooltips, and rebuilds the scheme submenu.
    void ApplyAppearance();
    // Empties the scheme submenu and fills it with one item per scheme file, in case-insensitive order; clicking
    // an item runs ChooseColourScheme. Old items are released later, so an item whose click is being handled
    // stays valid.
    void ListColourSchemes();
    // The click of a scheme item: copies the scheme into the settings file and the record and applies it.
    // Failures are shown as error messages: "Cannot open file %s", "Cannot create file %s" and
    // "'%s' is not a valid integer value".
    void ChooseColourScheme(QAction* item);
    void ChooseColourScheme(const QString& name);

    // What the final step of ChooseColourScheme runs; by default ApplyAppearance. The window sets its own
    // operation here when it does more on each application.
    void setApplyOperation(std::function<void()> apply) { mApply = std::move(apply); }

private:
    AppearanceSurfaces mSurfaces;
    AppearanceSettings& mAppearance;
    MenuDecorator& mDecorator;
    std::function<void()> mApply;
    QString mChosenScheme; // marked in the submenu while it is listed
};
