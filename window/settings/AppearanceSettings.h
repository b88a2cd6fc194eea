#pragma once

#include <QColor>
#include <QStringList>
#include <QtGlobal>
#include <array>
#include <functional>

// The window's colours and font sizes: sixteen signed 32-bit values in a fixed order, copied as one block
// between the main window, the customisation dialog and the spelling dialogs.
struct AppearanceSettings
{
    qint32 ToolbarFColour = 0;
    qint32 ToolbarBColour = 0;
    qint32 LocationFColour = 0;
    qint32 LocationBColour = 0;
    qint32 TextAreaFColour = 0;
    qint32 TextAreaBColour = 0;
    qint32 SettingsFColour = 0;
    qint32 SettingsBColour = 0;
    qint32 StatusBarFColour = 0;
    qint32 StatusBarBColour = 0;
    qint32 SeperatorFColour = 0;
    qint32 SeperatorBColour = 0;
    qint32 ReaderFColour = 0;
    qint32 ReaderBColour = 0;
    qint32 AppFontSize = 10;
    qint32 TextFontSize = 10;

    static constexpr int FieldCount = 16;
    // Field n (1 to 16) in record order; the settings keys bear the same names.
    qint32& field(int n);
    qint32 field(int n) const;
    static const std::array<const char*, FieldCount>& keys();

    bool operator==(const AppearanceSettings&) const = default;
};
static_assert(sizeof(AppearanceSettings) == 16 * sizeof(qint32));

// Puts right the fields that would leave the window unreadable or unusable: a font size outside what the window
// lays out is brought within it, and a text colour too close to its background (the toolbar's, the reading
// area's, the status bar's) becomes black or white, whichever shows better. Only fields for which `given` is
// true are changed (the ones a file held). Returns "Key=old → new" for each field changed.
QStringList MakeReadable(AppearanceSettings& appearance, const std::function<bool(int field)>& given);

// A colour value is 0x00BBGGRR, or 0x80000000 + n for the desktop's system colour n.
QColor colourFromValue(qint32 value);
qint32 valueFromColour(const QColor& colour);
